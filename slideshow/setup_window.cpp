#include "slideshow/setup_window.h"

#include "app/control_window.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "platform/drives.h"
#include "platform/fonts.h"
#include "single/file_chooser.h"
#include "slideshow/interval.h"

namespace {
using platform::TwipsRect;
// Right of the control window, which stays above everything.
constexpr int kLeft = 1200, kTop = 330;
constexpr int kClientWidth = 6945, kClientHeight = 4890;
constexpr int kFile1Height = 4230;
constexpr TwipsRect kLabel5{120, 120, 2385, 180};
constexpr TwipsRect kLabel1{5160, 960, 2175, 255};
constexpr TwipsRect kText1{5880, 915, 495, 270};
constexpr TwipsRect kCheck1{5160, 1350, 255, 180};
constexpr TwipsRect kLabel2{5520, 1350, 1335, 255};
constexpr TwipsRect kCheck2{5160, 1725, 255, 180};
constexpr TwipsRect kLabel3{5520, 1725, 1335, 255};
constexpr TwipsRect kCheck3{5160, 2115, 255, 180};
constexpr TwipsRect kLabel4{5520, 2115, 1455, 255};
constexpr TwipsRect kCommand1{5160, 3720, 1575, 375};
constexpr TwipsRect kCommand2{5160, 4320, 1575, 375};
const QString kStartCaption = QStringLiteral("スライドショー");
const QString kInvalidCaption = QStringLiteral("値が不正です。");
}  // namespace

SlideshowSetup::SlideshowSetup()
    : Chooser(kFile1Height),
      Label5(this, "フォルダを選択してください", kLabel5),
      Label1(this, "間隔　=       秒", kLabel1),
      Text1(this, kText1),
      Check1(this, kCheck1),
      Label2(this, "繰り返し", kLabel2),
      Check2(this, kCheck2),
      Label3(this, "ランダム", kLabel3),
      Check3(this, kCheck3),
      Label4(this, "画面にフィット", kLabel4),
      Command1(this, kStartCaption, kCommand1),
      Command2(this, "キャンセル", kCommand2) {
    setChooserLook(kClientWidth, kClientHeight);
    setClientPositionTwips(kLeft, kTop);
    File1.setEnabled(false);  // a listing only: the show takes the whole folder
    Label1.centreVertically();
    Label1.leaveGapFor(Text1);
    for (auto* check : {&Check1, &Check2, &Check3}) {
        check->setFont(platform::proportionalGothicFont(9));
    }
    Label1.nameControl(Text1);
    Label2.nameControl(Check1);
    Label3.nameControl(Check2);
    Label4.nameControl(Check3);
    Command1.setEnabled(false);
    platform::setTabOrder(File1, Drive1, Dir1, Command1, Command2, Text1, Check1, Check3, Check2);
    Text1.onChange = [this] { Text1_Change(); };
    Check3.onClick = [this] { Check3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Timer1.onTick = [this] { Timer1_Timer(); };
}

void SlideshowSetup::Text1_Change() {
    if (IsValidInterval(Text1.text())) {
        Command1.setCaption(kStartCaption);
        Command1.setEnabled(!File1.entry(0).isEmpty());
    } else {
        Text1.setText(QString());
        Command1.setEnabled(false);
        Command1.setCaption(kInvalidCaption);
    }
}

void SlideshowSetup::Dir1_Change() {
    FollowFolder();
    Command1.setEnabled(!Text1.text().isEmpty() && !File1.entry(0).isEmpty());
}

void SlideshowSetup::Check3_Click() {
    FrmSelect1->Check1.setValue(Check3.value());
    FrmSelect12->Check1.setValue(Check3.value());
}

void SlideshowSetup::Command2_Click() { hideWindow(); }

void SlideshowSetup::Command1_Click() {
    Module1.FileCountSld = int16_t(File1.entryCount());
    Module1.FileListSld = NewList(Module1.FileCountSld);
    Module1.SldPool = NewList(Module1.FileCountSld);
    if (Check2.value() == 1) {
        MakeRandomOrder();
    } else {
        for (int i = 0; i < Module1.FileCountSld; ++i) Module1.FileListSld[i] = File1.entry(i);
    }
    Module1.DirPathSld = platform::withClosingSeparator(File1.path());
    Module1.CurIndexSld = 0;
    Form1->CmdBrkSld.setCaption(kStopCaption);
    Timer1.setInterval(IntervalMilliseconds(Text1.text()));
    Form1->CmdBrkSld.setEnabled(true);
    TimerControl();
}
