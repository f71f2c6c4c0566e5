#include <QDir>
#include <QStorageInfo>

#include "platform/system_drives.h"

namespace platform::drives::system {

namespace {
// Mounted volumes a user sees: removable media, other disks, network shares.
bool userVisible(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    if (!volume.isValid() || !volume.isReady() || root == QLatin1String("/")) return false;
    static const QStringList userPlaces = {"/media/", "/mnt/", "/run/media/", "/home/"};
    for (const QString& place : userPlaces) {
        if (root.startsWith(place) || root == place.chopped(1)) return true;
    }
    return false;
}
}  // namespace

QStringList all() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (userVisible(volume) && !roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    return roots;
}

QString rootOf(const QString& /*folder*/) { return QStringLiteral("/"); }

QString homeFolder() { return QDir::homePath(); }

// No drive letters; case matters.
QString withDriveAsListed(const QString& path) { return path; }

}  // namespace platform::drives::system
