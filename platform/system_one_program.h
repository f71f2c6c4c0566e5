#pragma once
#include <QLocalServer>
#include <QString>

// What the system's own file (one_program_linux.cpp, one_program_windows.cpp) tells
// platform/one_program.cpp.
namespace platform {

// Listens on the running program's socket so that only the user can open it.
bool listenForUserOnly(QLocalServer& server, const QString& name);
// The file two programs started at once lock to take turns.
QString turnLockFile(const QString& socket);
// A later start, which the user has just brought to the front, lets the running program take
// the front as it shows the path (Windows keeps it from a program in the background).
void letRunningProgramComeForward();

}  // namespace platform
