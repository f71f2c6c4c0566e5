#include "app/starting_path.h"

#include "app/control_window.h"
#include "app/messages.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "platform/drives.h"
#include "single/file_chooser.h"

namespace {
// The chooser's folder list moves to the folder and its drive list to the folder's drive, as
// the settings are restored at start-up.
bool MoveChooserTo(Chooser& chooser, const QString& folder) {
    try {
        const bool listedBefore = chooser.Dir1.path() == platform::cleanFolderPath(folder);
        chooser.Dir1.setPath(folder);
        if (listedBefore) chooser.ListFolderAgain();
        chooser.Drive1.setDrive(platform::drives::of(folder));
        return true;
    } catch (const platform::Failure& failure) {
        ShowOpenError(folder, failure.description());
        return false;
    }
}

// The file selected as a click selects it; a picture the preview cannot load is not reported
// there, as "開く" right after reports it.
void SelectToOpen(FileChooser& chooser, int index) {
    const LoadErrorLeftToNextLoad viewerReports;
    chooser.File1.setSelectedIndex(index);
}

// "１枚", the picture's folder, the picture selected, "開く".
void ShowPicture(const QString& file) {
    const QString name = platform::nameOf(file);
    if (!FrmSelect1->File1.matches(name)) {
        return ShowOpenError(file, QStringLiteral("Not a BMP, GIF, JPEG or ICO picture"));
    }
    Form1->CmdShow1_Click();
    if (!MoveChooserTo(*FrmSelect1, platform::parentFolder(file))) return;
    const int index = FrmSelect1->File1.indexOf(name);
    if (index < 0) return ShowOpenError(file, QStringLiteral("Not listed among the pictures"));
    SelectToOpen(*FrmSelect1, index);
    FrmSelect1->Command1_Click();
}

// "12枚", the folder, "１２枚ずつ表示" where the folder holds pictures.
void ShowFolder(const QString& folder) {
    Form1->CmdShow12_Click();
    if (!MoveChooserTo(*FrmSelect12, folder)) return;
    if (FrmSelect12->Command1.isEnabled()) FrmSelect12->Command1_Click();
}
}  // namespace

void ShowStartingPath(const QString& path) {
    if (!Form1.exists()) return;  // closed: the program is ending
    Form1->showWindow();
    if (path.isEmpty()) return;
    switch (platform::kindOf(path)) {
        case platform::PathKind::Folder:
            return ShowFolder(path);
        case platform::PathKind::File:
            return ShowPicture(path);
        case platform::PathKind::Missing:
            return ShowOpenError(path, QStringLiteral("No such file or folder"));
    }
}
