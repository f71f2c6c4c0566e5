#pragma once
#include <QString>
#include <functional>

namespace platform {

// One program per user and display (on Windows, per user and logon session). A later start
// hands its path (empty for none) to the program that runs already, over a local socket that
// only the user can open (in the user's runtime folder on Linux, a named pipe on Windows), and
// ends.

// Where a program of this user runs on this display, hands it the path and returns true.
// Otherwise this program becomes that one and returns false: from then on each path a later
// start hands over reaches onPath, on its own turn of the event loop, never while a message box
// is open. A message that is malformed, too long or never ends is dropped.
bool handOverToRunningProgram(const QString& path, std::function<void(const QString&)> onPath);

// The socket the running program listens on ("" where a Linux user has no runtime folder).
QString runningProgramSocket();

// The path a program was started on, absolute ("" for none); a file: URL counts as its path.
QString startingPath(const QStringList& arguments);

}  // namespace platform
