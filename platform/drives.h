#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// On Windows the drives are the drive letters ("C:/"). Linux has none: a drive is the root "/"
// or a mounted volume a user sees, named by its mount root. Each drive remembers its current
// folder for the whole run, as the last folder a folder list showed on it, else its root.
// Inside the program paths use "/" on both systems; what the user sees uses the system's own
// separator (QDir::toNativeSeparators).
namespace drives {

QStringList all();
// The drive that holds a folder: the longest drive root above it; else, on Windows, the drive
// its first three characters name ("C:/") or the network share it lies on ("//server/share"),
// on Linux "/".
QString of(const QString& folder);
// The drive answers: not an empty card reader or a network drive that has gone.
bool isReady(const QString& drive);
QString currentFolder(const QString& drive);
void setCurrentFolder(const QString& folder);
// A label for the drive list: the root as the user writes it, with the volume's name where it
// has one.
QString displayName(const QString& drive);
// The folder that stands for the first fixed disk's root: "C:/" on Windows; on Linux, which
// has no such disk, the user's home folder.
QString homeFolder();

// Tests name their own drives (temporary folders), whose roots they can then remove, and
// their own home folder.
void setForTesting(const QStringList& roots, const QString& home);

}  // namespace drives

// Folder paths: "/" is the separator; every folder but a drive's root is held without a closing
// one.
QString withClosingSeparator(const QString& folder);
bool endsInSeparator(const QString& path);
// The folder that holds a folder or file: "/a/b" for "/a/b/c".
QString parentFolder(const QString& path);
// The name a path ends in: "c" for "/a/b/c".
QString nameOf(const QString& path);
// What a path names on disk.
enum class PathKind { Folder, File, Missing };
PathKind kindOf(const QString& path);
// A path as the user sees it, in the system's separator ("C:\\pics" on Windows).
QString shownPath(const QString& path);
// The folder a text names, in either separator, its drive as the drive list names it however
// it was typed ("C:/pics" for "c:/pics"): closing separators, and a line feed after one, are
// not part of it.
QString cleanFolderPath(const QString& text);

}  // namespace platform
