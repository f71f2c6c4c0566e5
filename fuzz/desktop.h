#pragma once
// What the fuzz targets stand on: the program's real windows, offscreen, with a program folder,
// a home folder and a drive of their own below one folder, and message boxes recorded instead of
// waited on.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

namespace fuzzing {

// Starts the offscreen application and the program's own set-up on the folder `root`, which is
// the one drive and holds home/; the program folder is one of this process's own below it.
// With removeAtExit the whole folder goes at the end, else only the program folder.
void startDesktop(const QString& root, bool removeAtExit);
QString homeFolder();
QString programFolder();

// The folders that settings inputs name, the same for every run so that seeds can name them:
// home/pics with three pictures, home/empty, a name with a blank and Japanese letters, and a
// folder on a second drive.
QString settingsRoot();
QStringList settingsFolders();
void makeSettingsFolders();

// Destroys every window and the shared state, forgets the drives' current folders and starts
// the program as main() does: each input meets the program as a fresh start would.
void restartProgram();

// The message boxes shown since the last call, as "title: text".
QStringList takeMessages();

void writeFile(const QString& path, const uint8_t* data, size_t size);
void writeFile(const QString& path, const QByteArray& bytes);

// Stops the run with a message: the fuzzer keeps the input that did it.
[[noreturn]] void fail(const char* what, const QString& detail = {});

}  // namespace fuzzing
