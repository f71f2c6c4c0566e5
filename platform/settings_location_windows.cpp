#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "platform/settings_location.h"
#include "platform/system_settings_location.h"

namespace platform {

namespace {
// What the installer leaves beside tessary.exe; the portable ZIP has none.
constexpr char kUninstaller[] = "Uninstall.exe";
}  // namespace

// An installed copy's folder is the installer's, even for an administrator who may write it.
// Otherwise tried, not asked: Qt reads no access lists by default, so a folder that only
// administrators may write looks writable to QFileInfo.
bool keepsSettingsBeside() {
    const QDir folder(programFolder());
    if (QFileInfo::exists(folder.filePath(kUninstaller))) return false;
    QTemporaryFile probe(folder.filePath(QStringLiteral("Tessary-XXXXXX.tmp")));
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
