#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

namespace platform {

bool endsInSeparator(const QString& path) { return path.endsWith(QLatin1Char('/')); }

QString withClosingSeparator(const QString& folder) {
    return endsInSeparator(folder) ? folder : folder + QLatin1Char('/');
}

QString parentFolder(const QString& path) { return QFileInfo(path).path(); }

QString nameOf(const QString& path) { return QFileInfo(path).fileName(); }

PathKind kindOf(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return PathKind::Folder;
    return info.exists() ? PathKind::File : PathKind::Missing;
}

QString cleanFolderPath(const QString& text) {
    QString path = text;
    // Only after a closing separator, as the settings file has it: a folder may itself be
    // named with a line break at its end.
    while (path.endsWith(QLatin1String("/\n")) || path.endsWith(QLatin1String("/\r"))) path.chop(1);
    if (path.isEmpty()) return path;
    return QDir::cleanPath(path);
}

namespace drives {

namespace {
QStringList g_testRoots;
QString g_testHome;
bool g_testing = false;
QHash<QString, QString> g_currentFolders;

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

bool contains(const QString& root, const QString& folder) {
    return folder == root || folder.startsWith(withClosingSeparator(root));
}
}  // namespace

QStringList all() {
    if (g_testing) return g_testRoots;
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (userVisible(volume) && !roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    return roots;
}

QString of(const QString& folder) {
    const QString path = cleanFolderPath(folder);
    QString best;
    for (const QString& root : all()) {
        if (contains(root, path) && root.size() > best.size()) best = root;
    }
    return best.isEmpty() ? QStringLiteral("/") : best;
}

QString currentFolder(const QString& drive) { return g_currentFolders.value(drive, drive); }

void setCurrentFolder(const QString& folder) { g_currentFolders.insert(of(folder), folder); }

QString displayName(const QString& drive) {
    if (g_testing) return drive;
    const QStorageInfo volume(drive);
    const QString name = volume.displayName();
    return (name.isEmpty() || name == drive) ? drive : QStringLiteral("%1 [%2]").arg(drive, name);
}

QString homeFolder() { return g_testing ? g_testHome : QDir::homePath(); }

void setForTesting(const QStringList& roots, const QString& home) {
    g_testing = true;
    g_testRoots = roots;
    g_testHome = home;
    g_currentFolders.clear();
}

}  // namespace drives
}  // namespace platform
