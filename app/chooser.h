#pragma once
#include "platform/controls.h"
#include "platform/lists.h"
#include "platform/window.h"

// A chooser window: the drive list, folder list and file list that all three choosers share,
// at the same places. Each chooser adds its own rule to the folder change.
class Chooser : public platform::Window {
public:
    // The pattern of the pictures the program shows.
    static inline const QString kPicturePattern = QStringLiteral("*.bmp;*.gif;*.jpeg;*.jpg;*.ico");

    explicit Chooser(int fileListHeightTwips);

    platform::DriveList Drive1;
    platform::FolderList Dir1;
    platform::FileList File1;

    // The folder the folder list shows, listed again as if it had just been chosen: pictures
    // may have come or gone since (one saved there, then opened from the file manager).
    void ListFolderAgain() { Dir1_Change(); }

protected:
    // Moves the folder list to the chosen drive; a drive that cannot be read is reported and
    // leaves the folder and file lists as they were.
    void Drive1_Change();
    // The step every chooser's folder change takes: the file list follows the folder list.
    void FollowFolder();
    virtual void Dir1_Change() = 0;

    // The window's caption and fonts, as every chooser has them.
    void setChooserLook(int clientWidthTwips, int clientHeightTwips);
};
