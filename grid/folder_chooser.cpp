#include "grid/folder_chooser.h"

#include "app/module1.h"
#include "app/windows.h"
#include "grid/thumbnail_grid.h"
#include "platform/drives.h"
#include "single/file_chooser.h"
#include "slideshow/setup_window.h"

namespace {
using platform::TwipsRect;
constexpr int kClientWidth = 5025, kClientHeight = 4815;
constexpr int kFile1Height = 2610;
constexpr TwipsRect kLabel3{120, 120, 2025, 180};
constexpr TwipsRect kCheck1{3000, 3360, 255, 180};
constexpr TwipsRect kLabel1{3360, 3360, 1260, 180};
constexpr TwipsRect kCommand1{3000, 3840, 1815, 375};
constexpr TwipsRect kCommand2{3000, 4320, 1815, 375};
}  // namespace

FolderChooser::FolderChooser()
    : Chooser(kFile1Height),
      Label3(this, "フォルダを選択してください", kLabel3),
      Check1(this, kCheck1),
      Label1(this, "画面にフィット", kLabel1),
      Command1(this, "１２枚ずつ表示", kCommand1),
      Command2(this, "キャンセル", kCommand2) {
    setChooserLook(kClientWidth, kClientHeight);
    setClientPositionTwips(3510, 2535);
    File1.useButtonFaceBackground();
    Label1.nameControl(Check1);
    Command1.setEnabled(false);
    platform::setTabOrder(Drive1, Dir1, File1, Command1, Command2, Check1);
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Check1.onClick = [this] { Check1_Click(); };
}

void FolderChooser::Command1_Click() {
    Module1.FileCount12 = int16_t(File1.entryCount());
    Module1.FileList12 = NewList(Module1.FileCount12);
    for (int i = 0; i < Module1.FileCount12; ++i) Module1.FileList12[i] = File1.entry(i);
    hideWindow();
    for (int i = 0; i < ThumbnailGrid::kPage; ++i) FrmShow12->Picture1[i]->clearPicture();
    FrmShow12->showWindow();
    Module1.DirPath12 = platform::withClosingSeparator(Dir1.path());
    Module1.CurIndex12 = 0;
    FrmShow12->LoopControl();
}

void FolderChooser::Command2_Click() { hideWindow(); }

void FolderChooser::Dir1_Change() {
    FollowFolder();
    Command1.setEnabled(!File1.entry(0).isEmpty());
    DecodeFirstPageAhead();
}

void FolderChooser::Form_Show() { DecodeFirstPageAhead(); }

void FolderChooser::Form_Hide() {
    if (FrmShow12.exists()) FrmShow12->StopWorkAhead();
}

void FolderChooser::DecodeFirstPageAhead() {
    if (!isShown()) return;
    QStringList firstPage;
    for (int i = 0; i < ThumbnailGrid::kPage && i < File1.entryCount(); ++i)
        firstPage << platform::withClosingSeparator(Dir1.path()) + File1.entry(i);
    FrmShow12->DecodeAhead(firstPage);
}

void FolderChooser::Check1_Click() {
    FrmSelect1->Check1.setValue(Check1.value());
    FrmSelectSld->Check3.setValue(Check1.value());
}
