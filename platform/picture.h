#pragma once
#include <QDateTime>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>
#include <memory>

namespace platform {

// What tells a file apart from the same file changed: a file rewritten with the same size and
// modification time (which any program may set back) still gets a later change time.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified, changed;
    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

// A picture file (BMP, GIF, JPEG, ICO). Opening reads only the header; decoding happens at the
// size the picture is drawn at, once. A JPEG honours its EXIF orientation, an icon gives its
// largest image, a GIF its first frame. Failures throw Failure with a description naming the
// file and the reason.
class Picture {
public:
    Picture() = default;
    static Picture open(const QString& path);

    bool isNull() const { return !d; }
    QSize size() const;  // natural size in pixels, as oriented on screen
    QString path() const;
    // How EXIF turns the stored picture to show it (a JPEG's orientation 1 to 8).
    QImageIOHandler::Transformations orientation() const;
    // The same opened picture, sharing its decode.
    bool operator==(const Picture& other) const { return d == other.d; }

    // The whole picture at its natural size, decoded once and kept.
    QImage natural() const;
    // The whole picture stretched to a size by area averaging ("halftone"), never by picking
    // pixels. A JPEG is decoded at a reduced scale first where that still covers the size.
    QImage stretchedTo(QSize size) const;

    struct Data;

private:
    std::shared_ptr<Data> d;
};

// Area-averaged stretch of a whole image to an exact size.
QImage halftoneStretch(const QImage& source, QSize size);

}  // namespace platform
