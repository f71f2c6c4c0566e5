#include "platform/picture.h"

#include <QColorSpace>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>

#include "platform/change_time.h"
#include "platform/failure.h"

namespace platform {

struct Picture::Data {
    QString path;
    QByteArray format;
    int imageIndex = 0;       // the largest image of an icon
    bool transposed = false;  // EXIF turns the picture a quarter
    QImageIOHandler::Transformations orientation;
    QSize size;
    mutable QMutex mutex;
    mutable QImage natural;
};

static Failure loadFailure(const QString& path, const QString& reason) {
    return Failure(QStringLiteral("Cannot load %1: %2").arg(QFileInfo(path).fileName(), reason));
}

static void openReader(QImageReader& reader, const QString& path, const QByteArray& format,
                       int imageIndex) {
    reader.setFileName(path);
    reader.setFormat(format);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (imageIndex > 0) reader.jumpToImage(imageIndex);
}

FileStamp FileStamp::of(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {};
    return {info.size(), info.lastModified(), changeTimeOf(path)};
}

namespace {
// The picture opened last, so that opening the same unchanged file again shares its decode;
// one for each thread, so that the decoders working ahead never take the handlers' place.
thread_local std::weak_ptr<Picture::Data> g_lastOpened;
thread_local FileStamp g_lastStamp;
}  // namespace

Picture Picture::open(const QString& path) {
    const QFileInfo info(path);
    const FileStamp stamp = FileStamp::of(path);
    if (auto last = g_lastOpened.lock();
        last && last->path == path && stamp.size >= 0 && stamp == g_lastStamp) {
        Picture again;
        again.d = last;
        return again;
    }
    if (!info.exists()) throw loadFailure(path, QStringLiteral("File not found"));
    if (info.isDir()) throw loadFailure(path, QStringLiteral("A folder, not a picture file"));
    if (!info.isFile() || !info.isReadable()) {
        throw loadFailure(path, QStringLiteral("Permission denied"));
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) throw loadFailure(path, QStringLiteral("Not a picture file"));

    auto data = std::make_shared<Data>();
    data->path = path;
    data->format = reader.format();
    QSize size = reader.size();
    // Qt reads the header of a top-down BMP as a negative height.
    if (data->format == "bmp" && size.height() < 0) size.setHeight(-size.height());
    if (data->format == "ico" || data->format == "cur") {
        // An icon holds several images; show the largest.
        const int images = reader.imageCount();
        for (int i = 1; i < images && reader.jumpToImage(i); ++i) {
            const QSize s = reader.size();
            if (s.width() * s.height() > size.width() * size.height()) {
                size = s;
                data->imageIndex = i;
            }
        }
    }
    if (!size.isValid() || size.isEmpty()) {
        throw loadFailure(path, reader.errorString().isEmpty()
                                    ? QStringLiteral("Bad picture header")
                                    : reader.errorString());
    }
    data->orientation = reader.transformation();
    data->transposed = data->orientation & QImageIOHandler::TransformationRotate90;
    if (data->transposed) size.transpose();
    // Decompression bombs: refuse what the decoder would refuse at natural size.
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    if (bytes > qint64(QImageReader::allocationLimit()) * 1024 * 1024) {
        throw loadFailure(
            path,
            QStringLiteral("Picture is too large (%1 × %2)").arg(size.width()).arg(size.height()));
    }
    data->size = size;
    g_lastOpened = data;
    g_lastStamp = stamp;
    Picture picture;
    picture.d = data;
    return picture;
}

QSize Picture::size() const { return d ? d->size : QSize(); }
QString Picture::path() const { return d ? d->path : QString(); }
QImageIOHandler::Transformations Picture::orientation() const {
    return d ? d->orientation : QImageIOHandler::TransformationNone;
}

// Palette pictures become 32-bit at once. A damaged file may use palette entries it does not
// have, and Qt reads past the colour table for those; they show black instead. Qt also shrinks
// a 1-bit picture by sampling, and averages it only once it is 32-bit.
static QImage toTrueColour(QImage image) {
    if (image.depth() > 8) return image;
    QList<QRgb> colours = image.colorTable();
    const int needed = image.depth() == 1 ? 2 : 256;
    if (colours.size() < needed) {
        colours.resize(needed, qRgb(0, 0, 0));
        image.setColorTable(colours);
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// The screen is taken to be sRGB: a picture with its own colour profile (a photograph in Adobe
// RGB or Display P3) is converted, once decoded at the size it is drawn at. A profile Qt cannot
// read leaves the colour space invalid, and the numbers are shown as they are.
static QImage inSrgb(QImage image) {
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

static QImage decode(const Picture::Data& data, QSize scaledTo) {
    QImageReader reader;
    openReader(reader, data.path, data.format, data.imageIndex);
    reader.setQuality(100);  // the JPEG decoder's reduced scale ends in a smooth stretch
    if (scaledTo.isValid()) {
        // The decoder scales before it turns the picture.
        reader.setScaledSize(data.transposed ? scaledTo.transposed() : scaledTo);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw loadFailure(data.path, reader.errorString());
    }
    return inSrgb(toTrueColour(image));
}

QImage Picture::natural() const {
    if (!d) return {};
    QMutexLocker lock(&d->mutex);
    if (d->natural.isNull()) d->natural = decode(*d, QSize());
    return d->natural;
}

QImage halftoneStretch(const QImage& source, QSize size) {
    if (source.size() == size) return source;
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Picture::stretchedTo(QSize size) const {
    if (!d || size.isEmpty()) return {};
    {
        QMutexLocker lock(&d->mutex);
        if (!d->natural.isNull()) return halftoneStretch(d->natural, size);
    }
    const bool reduces = size.width() < d->size.width() && size.height() < d->size.height();
    if (d->format == "jpeg" && reduces) {
        // The JPEG decoder reduces by 1/2, 1/4 or 1/8 while it decodes, then area-averages.
        return halftoneStretch(decode(*d, size), size);
    }
    return halftoneStretch(natural(), size);
}

}  // namespace platform
