#pragma once
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/picture.h"

namespace platform {

// The desktop's thumbnail cache, shared with file managers (the freedesktop.org thumbnail
// standard): PNGs in $XDG_CACHE_HOME/thumbnails, normal/ at most 128 pixels a side and
// large/ at most 256, named by the MD5 of the file's URI, each saying which file it shows
// (Thumb::URI) and as it was when (Thumb::MTime). A thumbnail counts only while both match.
// A cache that cannot be read or written only costs the time saved: nothing is reported.
// The cache is Linux's alone (thumbnail_cache_linux.cpp): on Windows drawn() decodes each
// picture at its drawn size, and nothing is saved or recorded.
namespace thumbnails {

// The cache's size for a picture drawn at this size in device pixels: the smaller of 128 and
// 256 that covers it, or 0 where neither does.
int cacheSizeFor(QSize drawn);
// The size of the cache's thumbnail of a picture of this natural size: its longer side the
// cache's size.
QSize thumbnailSize(QSize natural, int cacheSize);
// The file's URI as the cache names it.
QByteArray uriOf(const QString& path);

// A cached thumbnail from PNG bytes, when they say they show this URI as the file stamped
// so, and hold a picture of the expected size (one pixel either way for other programs'
// rounding); else null. Nothing in the bytes can do more than make it null.
QImage read(QIODevice& png, const QByteArray& uri, const FileStamp& stamp, QSize expected);

// A picture at its drawn size through the cache: the cached thumbnail area-averaged to that
// size, or, where there is none, decoded once at the cache's size and averaged from there,
// that thumbnail left in unsaved for save(). A picture no larger than the cache's size is
// decoded from the file alone. Throws Failure as decoding does.
QImage drawn(const Picture& picture, const FileStamp& stamp, QSize drawn, QImage& unsaved);
// Writes a thumbnail drawn() left unsaved to the cache.
void save(const QString& path, const FileStamp& stamp, const QImage& thumbnail);
// Remembers that the file, stamped so, could not be loaded (in fail/tessary-VERSION/), and
// whether it was so before: decoding it again ahead is then no use, though loading it still
// reports why.
void recordFailure(const QString& path, const FileStamp& stamp);
bool failedBefore(const QString& path, const FileStamp& stamp);

}  // namespace thumbnails
}  // namespace platform
