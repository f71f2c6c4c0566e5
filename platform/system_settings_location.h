#pragma once
#include <QString>

// What the system's own file (settings_location_linux.cpp, settings_location_windows.cpp) tells
// platform/settings_location.cpp.
namespace platform {

// The settings file stays in the program's folder (a portable copy).
bool keepsSettingsBeside();
// Where it goes otherwise: the user's own configuration folder.
QString userSettingsFolder();

}  // namespace platform
