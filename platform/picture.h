#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

namespace platform {

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

    // The whole picture at its natural size, decoded once and kept.
    QImage natural() const;
    // The whole picture stretched to a size by area averaging ("halftone"), never by picking
    // pixels. A JPEG is decoded at a reduced scale first where that still covers the size.
    QImage stretchedTo(QSize size) const;
    // The same stretch decoded here and now, never taken from the decoders working ahead:
    // what those decoders themselves call, so that none waits for its own result.
    QImage decodedTo(QSize size) const;

    struct Data;

private:
    std::shared_ptr<Data> d;
};

// Area-averaged stretch of a whole image to an exact size.
QImage halftoneStretch(const QImage& source, QSize size);

}  // namespace platform
