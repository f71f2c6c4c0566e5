#include "platform/thumbnail_cache.h"

namespace platform::thumbnails {

// Windows keeps no freedesktop.org cache: every thumbnail is decoded at its drawn size.
QImage drawn(const Picture& picture, const FileStamp& /*stamp*/, QSize drawn, QImage& /*unsaved*/) {
    return picture.stretchedTo(drawn);
}

void save(const QString& /*path*/, const FileStamp& /*stamp*/, const QImage& /*thumbnail*/) {}

void recordFailure(const QString& /*path*/, const FileStamp& /*stamp*/) {}

bool failedBefore(const QString& /*path*/, const FileStamp& /*stamp*/) { return false; }

}  // namespace platform::thumbnails
