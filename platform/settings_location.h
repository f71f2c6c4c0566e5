#pragma once
#include <QString>

namespace platform {

// The folder that holds the program file, without a closing separator unless it is "/".
QString programFolder();
// Tests run the windows against a folder of their own.
void setProgramFolder(const QString& folder);

// Where the settings file of this name is read and where it is written. A portable copy keeps
// it in the program's folder. An installed program (its menu entry in the prefix's
// share/applications) or one in a folder the user cannot write keeps it in the per-user
// configuration folder ($XDG_CONFIG_HOME/tessary on Linux, %APPDATA%\Tessary on Windows), and
// reads the program folder's copy only while the user has none.
QString settingsFileToRead(const QString& name);
// Creates the per-user configuration folder when the file goes there.
QString settingsFileToWrite(const QString& name);

}  // namespace platform
