#pragma once
#include <QByteArray>
#include <QString>

// "Tessary.ini" in the program's folder, or in the user's configuration folder for an installed
// program, keeps the three choosers' folders, the slideshow interval and its three options from
// one run to the next, in seven lines.

inline constexpr char kSettingsFileName[] = "Tessary.ini";
// The file the start-up reads.
QString SettingsPath();

// The file's bytes for the choosers as they stand.
QByteArray SettingsBytes();
// Writes the file whole, or leaves the previous one as it was and says why.
void WriteSettings();

// Reads the file and applies it through the choosers' controls, as a user's changes would be.
// Throws Failure when the file is missing or short or a value is refused; values applied
// before the failure stay.
void ReadAndApplySettings();
// The settings of a first run: every chooser on the first disk's root (C:\, or the home folder on
// Linux), an interval of 7 seconds.
void ApplyDefaultSettings();
