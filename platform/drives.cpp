#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

#include "platform/system_drives.h"

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

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

QString cleanFolderPath(const QString& text) {
    QString path = QDir::fromNativeSeparators(text);
    // Only after a closing separator, as the settings file has it: a folder may itself be
    // named with a line break at its end.
    while (path.endsWith(QLatin1String("/\n")) || path.endsWith(QLatin1String("/\r"))) path.chop(1);
    if (path.isEmpty()) return path;
    return drives::system::withDriveAsListed(QDir::cleanPath(path));
}

namespace drives {

namespace {
QStringList g_testRoots;
QString g_testHome;
bool g_testing = false;
QHash<QString, QString> g_currentFolders;

bool contains(const QString& root, const QString& folder) {
    return folder == root || folder.startsWith(withClosingSeparator(root));
}
}  // namespace

QStringList all() { return g_testing ? g_testRoots : system::all(); }

QString of(const QString& folder) {
    const QString path = cleanFolderPath(folder);
    QString best;
    for (const QString& root : all()) {
        if (contains(root, path) && root.size() > best.size()) best = root;
    }
    return best.isEmpty() ? system::rootOf(path) : best;
}

bool isReady(const QString& drive) {
    // A network share ("//server/share") answers when its root can be read; Wine gives it no
    // volume to ask.
    const bool share = drive.startsWith(QLatin1String("//"));
    const QStorageInfo volume(drive);
    return (share || (volume.isValid() && volume.isReady())) && QFileInfo(drive).isReadable();
}

QString currentFolder(const QString& drive) { return g_currentFolders.value(drive, drive); }

void setCurrentFolder(const QString& folder) { g_currentFolders.insert(of(folder), folder); }

QString displayName(const QString& drive) {
    const QString shown = shownPath(drive);
    if (g_testing) return shown;
    const QString name = QStorageInfo(drive).displayName();
    return (name.isEmpty() || name == drive) ? shown : QStringLiteral("%1 [%2]").arg(shown, name);
}

QString homeFolder() { return g_testing ? g_testHome : system::homeFolder(); }

void setForTesting(const QStringList& roots, const QString& home) {
    g_testing = true;
    g_testRoots = roots;
    g_testHome = home;
    g_currentFolders.clear();
}

}  // namespace drives
}  // namespace platform
