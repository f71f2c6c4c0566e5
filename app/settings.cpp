#include "app/settings.h"

#include <algorithm>

#include "app/defaults.h"
#include "app/messages.h"
#include "app/module1.h"
#include "app/number_text.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "platform/drives.h"
#include "platform/failure.h"
#include "platform/settings_location.h"
#include "platform/text_file.h"
#include "single/file_chooser.h"
#include "slideshow/setup_window.h"

using platform::Failure;

namespace {
constexpr int kLines = 7;
// Nothing the program writes comes near this; a bigger file is not its settings.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// Whether a line holds the folder. A CR or LF in its path would break the file's lines; a name
// the code page lacks would come back as "?", a folder that is not there, and the next start
// would take the defaults for everything.
bool LineHolds(const QString& folder) {
    return !folder.contains(QLatin1Char('\r')) && !folder.contains(QLatin1Char('\n')) &&
           platform::fitsSystemCodePage(folder);
}

// The folder a line can hold: the nearest ancestor a line holds; the next start opens that.
QString SavableFolder(QString folder) {
    while (!LineHolds(folder) && platform::parentFolder(folder) != folder)
        folder = platform::parentFolder(folder);
    return folder;
}

// Folder lines and option lines carry an extra line feed before their CR LF.
QByteArray FolderLine(const QString& folder) {
    const QString path = platform::withClosingSeparator(SavableFolder(folder));
    return platform::toSystemCodePage(platform::shownPath(path)) + "\n\r\n";
}
// A line break pasted into the interval box would end the line early and shift the options:
// the interval is saved up to it, which keeps its value.
QByteArray IntervalLine(const QString& text) {
    const qsizetype cr = text.indexOf(QLatin1Char('\r')), lf = text.indexOf(QLatin1Char('\n'));
    const qsizetype lineBreak = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
    return platform::toSystemCodePage(text.left(lineBreak)) + "\r\n";
}
QByteArray OptionLine(int value) { return QByteArray::number(value) + "\n\r\n"; }

// A line ends at CR; a LF right after the CR belongs to the line end, any other LF to the value.
// Fails when the file ends before the seventh line.
void SplitLines(const QString& text) {
    qsizetype start = 0;
    for (int line = 0; line < kLines; ++line) {
        if (start >= text.size()) throw Failure(QStringLiteral("The settings file is too short"));
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0) end = text.size();
        Module1.IniLines[line] = text.mid(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == QLatin1Char('\n')) ++start;
    }
}

// A check-box line: its number rounded half to even; 0, 1 and 2 are the box's values.
int CheckValue(const QString& line) {
    const auto value = ToInt32HalfEven(NumberAtStart(line));
    if (!value) throw Failure(QStringLiteral("Invalid property value"));
    return *value;
}

// The drive a folder line lies on.
QString DriveOf(const QString& line) { return platform::drives::of(line); }
}  // namespace

QString SettingsPath() { return platform::settingsFileToRead(kSettingsFileName); }

QByteArray SettingsBytes() {
    SlideshowSetup& setup = *FrmSelectSld;
    return FolderLine(FrmSelect1->Dir1.path()) + FolderLine(FrmSelect12->Dir1.path()) +
           FolderLine(setup.Dir1.path()) + IntervalLine(setup.Text1.text()) +
           OptionLine(setup.Check1.value()) + OptionLine(setup.Check2.value()) +
           OptionLine(setup.Check3.value());
}

void WriteSettings() {
    const QString path = platform::settingsFileToWrite(kSettingsFileName);
    if (const QString error = platform::writeWholeFile(path, SettingsBytes()); !error.isEmpty()) {
        ShowWriteError(path, error);
    }
}

void ReadAndApplySettings() {
    SplitLines(
        platform::fromSystemCodePage(platform::readSmallFile(SettingsPath(), kMaxFileBytes)));

    FrmSelect1->Dir1.setPath(Module1.IniLines[0]);
    FrmSelect1->Drive1.setDrive(DriveOf(Module1.IniLines[0]));
    FrmSelect12->Dir1.setPath(Module1.IniLines[1]);
    FrmSelect12->Drive1.setDrive(DriveOf(Module1.IniLines[1]));
    FrmSelectSld->Dir1.setPath(Module1.IniLines[2]);
    FrmSelectSld->Drive1.setDrive(DriveOf(Module1.IniLines[2]));
    FrmSelectSld->Text1.setText(Module1.IniLines[3]);
    FrmSelectSld->Check1.setValue(CheckValue(Module1.IniLines[4]));
    FrmSelectSld->Check2.setValue(CheckValue(Module1.IniLines[5]));
    FrmSelectSld->Check3.setValue(CheckValue(Module1.IniLines[6]));
}

void ApplyDefaultSettings() {
    try {
        FrmSelect1->Dir1.setPath(DefaultFolder());
        FrmSelect1->Drive1.setDrive(DefaultDrive());
        FrmSelect12->Dir1.setPath(DefaultFolder());
        FrmSelect12->Drive1.setDrive(DefaultDrive());
        FrmSelectSld->Dir1.setPath(DefaultFolder());
        FrmSelectSld->Drive1.setDrive(DefaultDrive());
    } catch (const Failure&) {
        // A default folder that cannot be read leaves the choosers empty; the user picks a drive.
    }
    FrmSelectSld->Text1.setText(kDefaultInterval);
}
