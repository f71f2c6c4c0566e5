#include <QFile>
#include <QStandardPaths>

#include "platform/one_program.h"
#include "platform/system_one_program.h"

namespace platform {

// In the user's runtime folder, one for each display.
QString runningProgramSocket() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) return {};
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("WAYLAND_DISPLAY");
    for (QChar& c : display) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-') c = u'_';
    }
    return folder + QStringLiteral("/tessary-%1.socket").arg(display);
}

bool listenForUserOnly(QLocalServer& server, const QString& name) {
    if (!server.listen(name)) return false;
    QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

QString turnLockFile(const QString& socket) { return socket + QStringLiteral(".lock"); }

// X lets a program raise its own window.
void letRunningProgramComeForward() {}

}  // namespace platform
