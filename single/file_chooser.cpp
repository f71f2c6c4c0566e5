#include "single/file_chooser.h"

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "platform/drives.h"
#include "platform/fonts.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

namespace {
using platform::TwipsRect;
constexpr int kClientWidth = 6735, kClientHeight = 4815;
constexpr int kFile1Height = 4230;
constexpr TwipsRect kLabel3{120, 120, 2340, 180};
constexpr TwipsRect kPicture1{5040, 480, 1575, 1575};
constexpr TwipsRect kPicture2{5160, 600, 495, 495};
constexpr TwipsRect kLabel2{5400, 1800, 900, 180};
constexpr TwipsRect kCheck1{5070, 3240, 255, 180};
constexpr TwipsRect kLabel1{5400, 3240, 1575, 255};
constexpr TwipsRect kCommand1{5160, 3720, 1455, 375};
constexpr TwipsRect kCommand2{5160, 4320, 1455, 375};
constexpr int kPreviewBorderPixels = 2;
}  // namespace

FileChooser::FileChooser()
    : Chooser(kFile1Height),
      Label3(this, "ファイルを選択してください", kLabel3),
      Label2(this, "プレビュー", kLabel2),
      Picture1(this, kPicture1, platform::PictureBox::Role::Display),
      Picture2(this, kPicture2, platform::PictureBox::Role::Scratch),
      Check1(this, kCheck1),
      Label1(this, "画面にフィット", kLabel1),
      Command1(this, "開く", kCommand1),
      Command2(this, "キャンセル", kCommand2) {
    setChooserLook(kClientWidth, kClientHeight);
    setClientPositionTwips(3510, 1950);
    Picture1.setBorder(kPreviewBorderPixels);
    Picture2.setAutoSize(true);
    Label2.sendBehind();  // the label lies within the preview box, which covers it
    Picture1.setAccessibleDescription(Label2.caption());
    Label1.nameControl(Check1);
    Check1.setFont(platform::proportionalGothicFont(9));
    Command1.setEnabled(false);
    platform::setTabOrder(Command1, Command2, Drive1, Dir1, File1, Picture1, Check1);
    File1.onClick = [this] { File1_Click(); };
    File1.onDoubleClick = [this] { File1_DblClick(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Check1.onClick = [this] { Check1_Click(); };
}

void FileChooser::File1_Click() {
    Picture1.clearPicture();
    Picture2.clearPicture();
    if (!File1.selectedName().isEmpty()) Command1.setEnabled(true);
    Module1.CurFileName1 = File1.entry(File1.selectedIndex());
    Module1.CurFile1 = platform::withClosingSeparator(File1.path()) + Module1.CurFileName1;
    FrmShow12->LoadAutoSizePicture(Picture1, Picture2, Module1.CurFile1);
    DecodeSelectedAhead();
}

void FileChooser::Command1_Click() {
    if (File1.selectedIndex() < 0) return;  // nothing selected: nothing to open
    Module1.FileCount1 = int16_t(File1.entryCount());
    Module1.FileList1 = NewList(Module1.FileCount1);
    for (int i = 0; i < Module1.FileCount1; ++i) Module1.FileList1[i] = File1.entry(i);
    Module1.DirPath1 = platform::withClosingSeparator(File1.path());
    Module1.CurIndex1 = int16_t(File1.selectedIndex());
    Form1->CmdNext1.setEnabled(Module1.CurIndex1 != Module1.FileCount1 - 1);
    Form1->CmdPrev1.setEnabled(Module1.CurIndex1 != 0);
    Module1.CurFile1 = Module1.DirPath1 + Module1.FileList1[Module1.CurIndex1];
    FrmShow1->LoadControl1(Module1.CurFile1, Module1.CurFileName1, kCaptionSingle);
}

void FileChooser::File1_DblClick() { Command1_Click(); }

void FileChooser::Command2_Click() { hideWindow(); }

void FileChooser::Dir1_Change() {
    Command1.setEnabled(false);
    Picture1.clearPicture();
    FollowFolder();
}

void FileChooser::Form_Show() { DecodeSelectedAhead(); }

void FileChooser::Form_Hide() {
    if (FrmShow1.exists()) FrmShow1->StopWorkAhead();
}

void FileChooser::DecodeSelectedAhead() {
    if (!isShown() || File1.selectedIndex() < 0) return;
    FrmShow1->DecodeAhead(platform::withClosingSeparator(File1.path()) + File1.selectedName());
}

void FileChooser::Check1_Click() {
    FrmSelect12->Check1.setValue(Check1.value());
    FrmSelectSld->Check3.setValue(Check1.value());
}
