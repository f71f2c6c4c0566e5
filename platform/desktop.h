#pragma once
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

namespace platform {

// The desktop rectangle not covered by panels, in pixels.
struct WorkArea {
    int left, top;
    int right, bottom;  // exclusive: left + width, top + height
};
WorkArea workArea();

// The folder that holds the program file, without a closing separator unless it is "/".
QString programFolder();
// Tests run the windows against a folder of their own.
void setProgramFolder(const QString& folder);

// Where the settings file of this name is read and where it is written. A portable copy keeps
// it in the program's folder. An installed program (its menu entry in the prefix's
// share/applications) or one in a folder the user cannot write keeps it in the per-user
// configuration folder, and reads the program folder's copy only while the user has none.
QString settingsFileToRead(const QString& name);
// Creates the per-user configuration folder when the file goes there.
QString settingsFileToWrite(const QString& name);

// Ends the program at once, with exit status 0.
void endProgram();
// main() says how the program ends; until it does, ending is a no-op (tests).
void setProgramEnd(std::function<void()> end);

// "ＭＳ ゴシック" or "ＭＳ Ｐゴシック" at a point size. Where the Windows fonts are missing, an
// installed Japanese Gothic face stands in: a known one (IPAGothic of fonts-ipafont-gothic, Noto
// Sans CJK JP, VL Gothic, Takao), else any Gothic of the font database's Japanese fonts.
QFont gothicFont(int points);
QFont proportionalGothicFont(int points);

// One-time program set-up: style, fonts, picture decoder limits.
void initialise();

}  // namespace platform
