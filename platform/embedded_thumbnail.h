#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

namespace platform {

// The small thumbnail a camera or phone embeds in a JPEG's EXIF block (APP1, IFD1: the JPEG at
// JPEGInterchangeFormat, of JPEGInterchangeFormatLength bytes), shown in a cell while the picture
// itself is decoded. Reading it costs about a millisecond; it never stands for the picture
// anywhere else, and is never cached.

// The thumbnail's JPEG bytes in the first EXIF block of a JPEG file, read from its start; empty
// where there is none. Only that block is read, 64 KiB at most; nothing in the bytes can do more
// than make the answer empty.
QByteArray exifThumbnailBytes(QIODevice& jpeg);

// A picture's embedded thumbnail as it stands in for the picture: its natural size (as oriented
// on screen), and the thumbnail turned as the picture is, without the black bars a camera puts
// around a picture of other proportions, at the size drawnSize gives for that natural size. The
// image is null where the file has no thumbnail of the picture's proportions, or only a damaged
// or too small one; nothing is reported.
struct EmbeddedThumbnail {
    QSize natural;
    QImage image;
};
EmbeddedThumbnail embeddedThumbnail(const QString& path,
                                    const std::function<QSize(QSize natural)>& drawnSize);

}  // namespace platform
