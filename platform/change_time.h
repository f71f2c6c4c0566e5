#pragma once
#include <QDateTime>
#include <QString>

namespace platform {

// When the file last changed in any way, its contents or its metadata: a time no program can
// set back (the inode's change time on Linux, NTFS's ChangeTime on Windows). Invalid when the
// file cannot be read.
QDateTime changeTimeOf(const QString& path);

}  // namespace platform
