#include "platform/embedded_thumbnail.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "platform/failure.h"
#include "platform/picture.h"

namespace platform {

namespace {
// Segments a JPEG may hold before its EXIF block (JFIF, a colour profile...): past them, none.
constexpr int kSegmentsBefore = 16;
// A camera's thumbnail is 160 × 120, some a few times that: a larger one is no thumbnail.
constexpr int kLargestSide = 1024;

// The TIFF structure of an EXIF block, in either byte order; a read past its end gives -1.
class Tiff {
public:
    explicit Tiff(const QByteArray& bytes) : m_bytes(bytes), m_little(bytes.startsWith("II")) {}
    bool valid() const {
        return m_bytes.startsWith(QByteArray("II*\0", 4)) ||
               m_bytes.startsWith(QByteArray("MM\0*", 4));
    }
    qint64 u16(qint64 at) const {
        if (at < 0 || at + 2 > m_bytes.size()) return -1;
        const auto* p = m_bytes.constData() + at;
        return m_little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    }
    qint64 u32(qint64 at) const {
        if (at < 0 || at + 4 > m_bytes.size()) return -1;
        const auto* p = m_bytes.constData() + at;
        return m_little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    }
    // The offset of the IFD after the one at an offset: 0 for none, -1 past the end.
    qint64 next(qint64 ifd) const {
        const qint64 count = u16(ifd);
        return count < 0 ? -1 : u32(ifd + 2 + 12 * count);
    }
    // A tag's one SHORT or LONG in the IFD at an offset; -1 where it has none.
    qint64 value(qint64 ifd, int tag) const {
        const qint64 count = u16(ifd);
        for (qint64 entry = ifd + 2; entry < ifd + 2 + 12 * count; entry += 12) {
            if (u16(entry) != tag || u32(entry + 4) != 1) continue;
            const qint64 type = u16(entry + 2);
            return type == 3 ? u16(entry + 8) : type == 4 ? u32(entry + 8) : -1;
        }
        return -1;
    }
    QByteArray mid(qint64 at, qint64 length) const {
        return at >= 8 && length > 0 && at + length <= m_bytes.size() ? m_bytes.mid(at, length)
                                                                      : QByteArray();
    }

private:
    const QByteArray& m_bytes;
    bool m_little;
};

// IFD1, the thumbnail's: JPEGInterchangeFormat (0x201) and its length (0x202).
QByteArray thumbnailIn(const QByteArray& exif) {
    const Tiff tiff(exif);
    if (!tiff.valid()) return {};
    const qint64 ifd1 = tiff.next(tiff.u32(4));
    if (ifd1 < 8) return {};
    return tiff.mid(tiff.value(ifd1, 0x201), tiff.value(ifd1, 0x202));
}

// A whole thumbnail, no larger than a thumbnail is; null where it is cut short or damaged.
QImage decoded(QByteArray jpeg) {
    while (jpeg.endsWith('\0')) jpeg.chop(1);  // some cameras pad it
    if (!jpeg.startsWith("\xff\xd8") || !jpeg.endsWith("\xff\xd9")) return {};
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(false);  // stored unturned, as the picture is
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargestSide || size.height() > kLargestSide) return {};
    const QImage image = reader.read();
    return image.size() == size ? image.convertToFormat(QImage::Format_RGB32) : QImage();
}

// Black, as a camera's bars are after JPEG compression: dark throughout, and nearly black on
// average.
bool nearBlack(const QImage& image, const QRect& area) {
    qint64 sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int brightest = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
            if (brightest > 96) return false;
            sum += brightest;
        }
    }
    return sum <= 16 * qint64(area.width()) * area.height();
}

// The picture, of a stored size, inside its thumbnail: the whole thumbnail where their
// proportions agree within a pixel's rounding; else the part of the picture's proportions
// centred between black bars, cropped; null where those bars are not black.
QImage withoutBars(const QImage& thumbnail, QSize stored) {
    const int w = thumbnail.width(), h = thumbnail.height();
    const bool wider = qint64(stored.width()) * h > qint64(stored.height()) * w;
    const double side = wider ? double(w) * stored.height() / stored.width()
                              : double(h) * stored.width() / stored.height();
    const int across = wider ? h : w;  // the side the bars cut
    const double bar = (across - side) / 2;
    if (bar < 1) return thumbnail;
    const auto band = [&](double from, double to) {  // the whole pixels between
        const int first = int(std::ceil(from)), last = int(std::floor(to));
        return wider ? QRect(0, first, w, last - first) : QRect(first, 0, last - first, h);
    };
    if (!nearBlack(thumbnail, band(0, bar)) || !nearBlack(thumbnail, band(bar + side, across)))
        return {};
    return thumbnail.copy(band(bar, bar + side));
}

// Turned as Qt turns the picture itself: mirrored first, then a quarter clockwise.
QImage turned(const QImage& image, QImageIOHandler::Transformations orientation) {
    const QImage mirrored = image.mirrored(orientation & QImageIOHandler::TransformationMirror,
                                           orientation & QImageIOHandler::TransformationFlip);
    if (!(orientation & QImageIOHandler::TransformationRotate90)) return mirrored;
    return mirrored.transformed(QTransform().rotate(90));
}
}  // namespace

QByteArray exifThumbnailBytes(QIODevice& jpeg) {
    if (jpeg.read(2) != "\xff\xd8") return {};
    for (int segment = 0; segment < kSegmentsBefore; ++segment) {
        const QByteArray head = jpeg.read(4);
        if (head.size() < 4 || uchar(head[0]) != 0xff) return {};
        const uchar marker = uchar(head[1]);
        const int length = qFromBigEndian<quint16>(head.constData() + 2);
        // The image itself, or a segment past the end: no EXIF before it.
        if (marker == 0xda || length < 2 || jpeg.pos() + length - 2 > jpeg.size()) return {};
        if (marker == 0xe1) {
            const QByteArray block = jpeg.read(length - 2);
            if (block.startsWith(QByteArray("Exif\0\0", 6))) return thumbnailIn(block.mid(6));
        } else if (!jpeg.seek(jpeg.pos() + length - 2)) {
            return {};
        }
    }
    return {};
}

EmbeddedThumbnail embeddedThumbnail(const QString& path,
                                    const std::function<QSize(QSize natural)>& drawnSize) {
    QFile file(path);  // never a pipe or a device, which could block
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
    const QImage thumbnail = decoded(exifThumbnailBytes(file));
    if (thumbnail.isNull()) return {};
    try {
        const Picture picture = Picture::open(path);
        const auto orientation = picture.orientation();
        const QSize natural = picture.size();
        const QImage inside = withoutBars(
            thumbnail,
            orientation & QImageIOHandler::TransformationRotate90 ? natural.transposed() : natural);
        const QSize drawn = drawnSize(natural);
        // Less than about half the drawn size is a blur, not worth showing.
        if (inside.isNull() || !drawn.isValid() ||
            2 * std::max(inside.width(), inside.height()) < std::max(drawn.width(), drawn.height()))
            return {natural, {}};
        return {natural, halftoneStretch(turned(inside, orientation), drawn)};
    } catch (const Failure&) {
        return {};  // the picture's own decode meets it again, and reports it
    }
}

}  // namespace platform
