#include "platform/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/system_settings_location.h"

namespace platform {

namespace {
QString g_programFolder;

QString userSettingsFile(const QString& name) { return QDir(userSettingsFolder()).filePath(name); }
}  // namespace

QString programFolder() {
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

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
