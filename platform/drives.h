#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Linux has no drive letters: a drive is the root "/" or a mounted volume a user sees, named
// by its mount root. Each drive remembers its current folder for the whole run, as the last
// folder a folder list showed on it, else its root.
namespace drives {

QStringList all();
// The drive that holds a folder: the longest mount root above it.
QString of(const QString& folder);
QString currentFolder(const QString& drive);
void setCurrentFolder(const QString& folder);
// A label for the drive list: the root, with the volume's name where it has one.
QString displayName(const QString& drive);
// The folder that stands for the first fixed disk's root: the user's home folder.
QString homeFolder();

// Tests name their own drives (temporary folders), whose roots they can then remove, and
// their own home folder.
void setForTesting(const QStringList& roots, const QString& home);

}  // namespace drives

// Folder paths: "/" is the separator; every folder but the root is held without a closing one.
QString withClosingSeparator(const QString& folder);
bool endsInSeparator(const QString& path);
// The folder that holds a folder or file: "/a/b" for "/a/b/c".
QString parentFolder(const QString& path);
// The name a path ends in: "c" for "/a/b/c".
QString nameOf(const QString& path);
// What a path names on disk.
enum class PathKind { Folder, File, Missing };
PathKind kindOf(const QString& path);
// The folder a text names: closing separators, and a line feed after one, are not part of it.
QString cleanFolderPath(const QString& text);

}  // namespace platform
