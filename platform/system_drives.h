#pragma once
#include <QString>
#include <QStringList>

// What the system's own file (drives_linux.cpp, drives_windows.cpp) tells platform/drives.cpp,
// which answers for the tests' drives itself.
namespace platform::drives::system {

QStringList all();
// The drive a folder lies on where no drive of all() holds it.
QString rootOf(const QString& folder);
QString homeFolder();
// The path with its drive named as all() names it.
QString withDriveAsListed(const QString& path);

}  // namespace platform::drives::system
