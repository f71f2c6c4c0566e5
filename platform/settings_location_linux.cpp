#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/settings_location.h"
#include "platform/system_settings_location.h"

namespace platform {

namespace {
constexpr char kDesktopEntry[] = "../share/applications/tessary.desktop";
}  // namespace

// Root may write /usr/bin too, but files there belong to the package manager.
bool keepsSettingsBeside() {
    const QDir folder(programFolder());
    return QFileInfo(folder.path()).isWritable() &&
           !QFileInfo::exists(folder.filePath(kDesktopEntry));
}

// $XDG_CONFIG_HOME/tessary
QString userSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

}  // namespace platform
