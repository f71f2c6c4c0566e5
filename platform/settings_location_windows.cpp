#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "platform/settings_location.h"
#include "platform/system_settings_location.h"

namespace platform {

// Tried, not asked: Qt reads no access lists by default, so a folder under Program Files that
// only administrators may write looks writable to QFileInfo.
bool keepsSettingsBeside() {
    QTemporaryFile probe(QDir(programFolder()).filePath(QStringLiteral("Tessary-XXXXXX.tmp")));
    return probe.open();
}

// %APPDATA%\Tessary, the user's roaming application data.
QString userSettingsFolder() {
    QString appData = qEnvironmentVariable("APPDATA");
    if (appData.isEmpty())
        appData = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(QDir::fromNativeSeparators(appData)).filePath(QStringLiteral("Tessary"));
}

}  // namespace platform
