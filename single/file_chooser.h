#pragma once
#include "app/chooser.h"
#include "platform/picture_box.h"

// The picture file chooser: pick a file, see it previewed, open it in the viewer.
class FileChooser : public Chooser {
public:
    FileChooser();

    platform::Label Label3;
    platform::Label Label2;
    platform::PictureBox Picture1;  // the preview
    platform::PictureBox Picture2;  // scratch box of the preview
    platform::CheckBox Check1;      // fit to screen
    platform::Label Label1;
    platform::CommandButton Command1;  // "開く"
    platform::CommandButton Command2;  // "キャンセル"

    void Command1_Click();

private:
    void File1_Click();
    void File1_DblClick();
    void Command2_Click();
    void Check1_Click();
    void Dir1_Change() override;
    void Form_Show() override;
    void Form_Hide() override;
    // While the chooser previews a file, the viewer decodes it ahead.
    void DecodeSelectedAhead();
};
