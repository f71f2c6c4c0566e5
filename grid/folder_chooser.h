#pragma once
#include "app/chooser.h"

// The thumbnail folder chooser: pick a folder, then browse it twelve pictures at a time.
class FolderChooser : public Chooser {
public:
    FolderChooser();

    platform::Label Label3;
    platform::CheckBox Check1;  // fit to screen
    platform::Label Label1;
    platform::CommandButton Command1;  // "１２枚ずつ表示"
    platform::CommandButton Command2;  // "キャンセル"

    void Command1_Click();

private:
    void Command2_Click();
    void Check1_Click();
    void Dir1_Change() override;
    void Form_Show() override;
    void Form_Hide() override;
    // While the chooser shows a folder, the grid's first page of it is decoded ahead.
    void DecodeFirstPageAhead();
};
