#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <cstdio>

#include "platform/thumbnail_cache.h"

namespace platform::thumbnails {

namespace {
constexpr int kNormal = 128, kLarge = 256;
// Far more than any thumbnail takes: a larger file is not one, and is not read.
constexpr qint64 kLargestFile = 1 << 20;

QString cacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails/");
}

QString fileOf(const QString& folder, const QString& path) {
    return cacheFolder() + folder + '/' +
           QCryptographicHash::hash(uriOf(path), QCryptographicHash::Md5).toHex() + ".png";
}

QString failures() { return QStringLiteral("fail/tessary-" TESSARY_VERSION); }

QString mtimeOf(const FileStamp& stamp) {
    return QString::number(stamp.modified.toSecsSinceEpoch());
}

// Each folder made here only its owner may open, as the freedesktop.org thumbnail standard asks.
bool makeFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir()) return true;
    return makeFolder(info.path()) &&
           QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Written to a temporary beside it (only its owner may read it) and renamed over it, so that
// no reader meets half a thumbnail; never synced to the disk, as a cache need not be.
void write(const QString& file, QImage image, const FileStamp& stamp, const QString& path) {
    {
        static QMutex folders;  // of two workers making a folder at once, one would fail
        const QMutexLocker lock(&folders);
        if (!makeFolder(QFileInfo(file).path())) return;
    }
    QTemporaryFile out(file + QStringLiteral(".XXXXXX"));
    if (!out.open()) return;
    image.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uriOf(path)));
    image.setText(QStringLiteral("Thumb::MTime"), mtimeOf(stamp));
    image.setText(QStringLiteral("Thumb::Size"), QString::number(stamp.size));
    image.setText(QStringLiteral("Software"), QStringLiteral("Tessary " TESSARY_VERSION));
    if (QImageWriter(&out, "png").write(image) && out.flush() &&
        ::rename(QFile::encodeName(out.fileName()), QFile::encodeName(file)) == 0) {
        out.setAutoRemove(false);  // it is the thumbnail now
    }
}

QImage readFile(const QString& file, const QString& path, const FileStamp& stamp, QSize expected) {
    const QFileInfo info(file);  // never a pipe or a device, which could block or never end
    if (!info.isFile() || info.size() > kLargestFile) return {};
    QFile png(file);
    if (!png.open(QIODevice::ReadOnly)) return {};
    return read(png, uriOf(path), stamp, expected);
}

QString normalOrLarge(int cacheSize) {
    return cacheSize == kNormal ? QStringLiteral("normal") : QStringLiteral("large");
}
}  // namespace

int cacheSizeFor(QSize drawn) {
    for (const int size : {kNormal, kLarge})
        if (drawn.width() <= size && drawn.height() <= size) return size;
    return 0;
}

QSize thumbnailSize(QSize natural, int cacheSize) {
    const bool wide = natural.width() >= natural.height();
    const int longer = wide ? natural.width() : natural.height();
    const int shorter = wide ? natural.height() : natural.width();
    const int side = std::max(1, qRound(double(shorter) * cacheSize / longer));
    return wide ? QSize(cacheSize, side) : QSize(side, cacheSize);
}

QByteArray uriOf(const QString& path) {
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath())).toEncoded();
}

QImage read(QIODevice& png, const QByteArray& uri, const FileStamp& stamp, QSize expected) {
    QImageReader reader(&png, "png");
    const QSize size = reader.size();  // from the header, before anything is decoded
    if (std::abs(size.width() - expected.width()) > 1 ||
        std::abs(size.height() - expected.height()) > 1) {
        return {};
    }
    const QImage image = reader.read();
    const QString fileSize = image.text(QStringLiteral("Thumb::Size"));
    if (image.size() != size || image.text(QStringLiteral("Thumb::URI")).toUtf8() != uri ||
        image.text(QStringLiteral("Thumb::MTime")) != mtimeOf(stamp) ||
        (!fileSize.isEmpty() && fileSize != QString::number(stamp.size))) {
        return {};
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage drawn(const Picture& picture, const FileStamp& stamp, QSize drawn, QImage& unsaved) {
    const int cacheSize = cacheSizeFor(drawn);
    const QSize natural = picture.size();
    if (cacheSize == 0 || (natural.width() <= cacheSize && natural.height() <= cacheSize))
        return picture.stretchedTo(drawn);
    const QSize size = thumbnailSize(natural, cacheSize);
    QImage thumbnail =
        readFile(fileOf(normalOrLarge(cacheSize), picture.path()), picture.path(), stamp, size);
    if (thumbnail.isNull()) unsaved = thumbnail = picture.stretchedTo(size);
    return halftoneStretch(thumbnail, drawn);
}

void save(const QString& path, const FileStamp& stamp, const QImage& thumbnail) {
    const int cacheSize = std::max(thumbnail.width(), thumbnail.height());
    write(fileOf(normalOrLarge(cacheSize), path), thumbnail, stamp, path);
}

void recordFailure(const QString& path, const FileStamp& stamp) {
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    write(fileOf(failures(), path), mark, stamp, path);
}

bool failedBefore(const QString& path, const FileStamp& stamp) {
    return !readFile(fileOf(failures(), path), path, stamp, QSize(1, 1)).isNull();
}

}  // namespace platform::thumbnails
