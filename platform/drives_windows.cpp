#include <QDir>
#include <QFileInfoList>

#include "platform/system_drives.h"

namespace platform::drives::system {

// Every drive letter, ready or not: an empty card reader is listed, and says so when chosen.
QStringList all() {
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
    return roots;
}

// Its first three characters, as "C:/", whatever their case; on a network share, the share
// ("//server/share"), as Explorer hands over a picture opened there.
QString rootOf(const QString& folder) {
    if (folder.startsWith(QLatin1String("//"))) return folder.section(QLatin1Char('/'), 0, 3);
    return folder.left(3).toUpper();
}

QString homeFolder() { return QStringLiteral("C:/"); }

// The letter in capitals: the system takes "c:" for "C:", and lists it so.
QString withDriveAsListed(const QString& path) {
    if (path.size() < 2 || path[1] != QLatin1Char(':') || !path[0].isLetter()) return path;
    return path[0].toUpper() + path.mid(1);
}

}  // namespace platform::drives::system
