#include "platform/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {
QString g_programFolder;
}  // namespace

QString programFolder() {
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

namespace {
constexpr char kDesktopEntry[] = "../share/applications/tessary.desktop";

// Root may write /usr/bin too, but files there belong to the package manager.
bool keepsSettingsBeside() {
    const QDir folder(programFolder());
    return QFileInfo(folder.path()).isWritable() &&
           !QFileInfo::exists(folder.filePath(kDesktopEntry));
}

QString userSettingsFile(const QString& name) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(name);
}
}  // namespace

QString settingsFileToRead(const QString& name) {
    const QString beside = QDir(programFolder()).filePath(name);
    if (keepsSettingsBeside()) return beside;
    const QString user = userSettingsFile(name);
    return QFileInfo::exists(user) || !QFileInfo::exists(beside) ? user : beside;
}

QString settingsFileToWrite(const QString& name) {
    if (keepsSettingsBeside()) return QDir(programFolder()).filePath(name);
    const QString user = userSettingsFile(name);
    QDir().mkpath(QFileInfo(user).path());
    return user;
}

}  // namespace platform
