#include <windows.h>

#include <QDir>

#include "platform/one_program.h"
#include "platform/system_one_program.h"

namespace platform {

// A named pipe, one for each user and logon session: the user's other sessions (a second
// Remote Desktop logon) run programs of their own.
QString runningProgramSocket() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    wchar_t user[256 + 1];
    DWORD size = sizeof user / sizeof user[0];
    const QString userName = GetUserNameW(user, &size) ? QString::fromWCharArray(user) : QString();
    return QStringLiteral("tessary-%1-%2").arg(userName).arg(session);
}

bool listenForUserOnly(QLocalServer& server, const QString& name) {
    server.setSocketOptions(QLocalServer::UserAccessOption);
    return server.listen(name);
}

// In the user's own temporary folder: a pipe's name is no place in the file system.
QString turnLockFile(const QString& socket) {
    return QDir::temp().filePath(socket + QStringLiteral(".lock"));
}

void letRunningProgramComeForward() { AllowSetForegroundWindow(ASFW_ANY); }

}  // namespace platform
