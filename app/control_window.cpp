#include "app/control_window.h"

#include "app/module1.h"
#include "app/settings.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "platform/failure.h"
#include "platform/fonts.h"
#include "platform/program.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/interval.h"
#include "slideshow/setup_window.h"

namespace {
using platform::TwipsRect;
// Button rectangles in twips: all 615 wide at the left edge; each ">>", "<<" and "停止"
// overlaps the button above it by one pixel.
constexpr int kButtonWidth = 615;
constexpr TwipsRect kCmdShow1{0, 0, kButtonWidth, 495};
constexpr TwipsRect kCmdNext1{0, 480, kButtonWidth, 255};
constexpr TwipsRect kCmdPrev1{0, 720, kButtonWidth, 255};
constexpr TwipsRect kCmdShow12{0, 1080, kButtonWidth, 495};
constexpr TwipsRect kCmdNext12{0, 1560, kButtonWidth, 255};
constexpr TwipsRect kCmdPrev12{0, 1800, kButtonWidth, 255};
constexpr TwipsRect kCmdSld{0, 2160, kButtonWidth, 495};
constexpr TwipsRect kCmdNextSld{0, 2640, kButtonWidth, 255};
constexpr TwipsRect kCmdPrevSld{0, 2880, kButtonWidth, 255};
constexpr TwipsRect kCmdBrkSld{0, 3120, kButtonWidth, 495};
constexpr int kClientWidth = 615, kClientHeight = 3615;
constexpr int kLeft = 300, kTop = 1110;
// The viewer keeps clear of the bottom edge of the work area by this much.
constexpr int kWorkBottomAllowancePixels = 16;
}  // namespace

ControlWindow::ControlWindow()
    : Window(CloseByFrame::Destroy),
      CmdShow1(this, "１枚", kCmdShow1),
      CmdNext1(this, ">>", kCmdNext1),
      CmdPrev1(this, "<<", kCmdPrev1),
      CmdShow12(this, "12枚", kCmdShow12),
      CmdNext12(this, ">>", kCmdNext12),
      CmdPrev12(this, "<<", kCmdPrev12),
      CmdSld(this, "スライド", kCmdSld),
      CmdNextSld(this, ">>", kCmdNextSld),
      CmdPrevSld(this, "<<", kCmdPrevSld),
      CmdBrkSld(this, kStopCaption, kCmdBrkSld) {
    setCaption(QString());
    setFont(platform::gothicFont(9));
    setClientSizeTwips(kClientWidth, kClientHeight);
    setClientPositionTwips(kLeft, kTop);
    keepAbove();
    for (auto* button :
         {&CmdNext1, &CmdPrev1, &CmdNext12, &CmdPrev12, &CmdNextSld, &CmdPrevSld, &CmdBrkSld}) {
        button->setEnabled(false);
    }
    platform::setTabOrder(CmdShow1, CmdShow12, CmdNext12, CmdPrev12, CmdNext1, CmdPrev1, CmdSld,
                          CmdNextSld, CmdPrevSld, CmdBrkSld);
    CmdShow1.onClick = [this] { CmdShow1_Click(); };
    CmdShow12.onClick = [this] { CmdShow12_Click(); };
    CmdSld.onClick = [this] { CmdSld_Click(); };
    CmdNext1.onClick = [this] { CmdNext1_Click(); };
    CmdPrev1.onClick = [this] { CmdPrev1_Click(); };
    CmdNext12.onClick = [this] { CmdNext12_Click(); };
    CmdPrev12.onClick = [this] { CmdPrev12_Click(); };
    CmdNextSld.onClick = [this] { CmdNextSld_Click(); };
    CmdPrevSld.onClick = [this] { CmdPrevSld_Click(); };
    CmdBrkSld.onClick = [this] { CmdBrkSld_Click(); };
    // The window has no caption, and three ">>" and three "<<" look alike: screen readers get
    // a name for the one and the mode of each step button.
    setAccessibleName(QStringLiteral("Orlin-Tessary"));
    CmdNext1.setAccessibleDescription(QStringLiteral("１枚: 次の画像"));
    CmdPrev1.setAccessibleDescription(QStringLiteral("１枚: 前の画像"));
    CmdNext12.setAccessibleDescription(QStringLiteral("12枚: 次の12枚"));
    CmdPrev12.setAccessibleDescription(QStringLiteral("12枚: 前の12枚"));
    CmdNextSld.setAccessibleDescription(QStringLiteral("スライド: 次の画像"));
    CmdPrevSld.setAccessibleDescription(QStringLiteral("スライド: 前の画像"));
    CmdBrkSld.setAccessibleDescription(QStringLiteral("スライド: 停止・再開"));
}

void ControlWindow::Form_Load() {
    FrmSelect12.get();
    FrmSelect1.get();
    FrmSelectSld.get();
    const platform::WorkArea area = platform::workArea();
    Module1.WorkLeft = int16_t(area.left);
    Module1.WorkRight = int16_t(area.right);
    Module1.WorkTop = int16_t(area.top);
    Module1.WorkBottom = int16_t(area.bottom - kWorkBottomAllowancePixels);
    showWindow();
    try {
        ReadAndApplySettings();
        SetSlideshowStartButton();
    } catch (const platform::Failure&) {
        ApplyDefaultSettings();
    }
}

void SetSlideshowStartButton() {
    SlideshowSetup& setup = *FrmSelectSld;
    setup.Command1.setEnabled(!setup.File1.entry(0).isEmpty() &&
                              IsValidInterval(setup.Text1.text()));
}

void ControlWindow::CmdShow1_Click() {
    SwitchMode({FrmShow1.get(), FrmSelect12.get(), FrmShow12.get(), FrmSelectSld.get()},
               *FrmSelect1);
}

void ControlWindow::CmdShow12_Click() {
    SwitchMode({FrmSelect1.get(), FrmShow1.get(), FrmShow12.get(), FrmSelectSld.get()},
               *FrmSelect12);
}

void ControlWindow::CmdSld_Click() {
    SwitchMode({FrmShow1.get(), FrmShow12.get(), FrmSelect1.get(), FrmSelect12.get()},
               *FrmSelectSld);
}

// Every mode starts the same way: the other windows hidden in order, navigation off, any
// slideshow over, and the mode's chooser shown.
void ControlWindow::SwitchMode(std::initializer_list<platform::Window*> hideInOrder,
                               platform::Window& chooser) {
    for (platform::Window* window : hideInOrder) window->hideWindow();
    ResetNavigation();
    CmdBrkSld.setEnabled(false);
    FrmSelectSld->Timer1.setRunning(false);
    chooser.showWindow();
}

void ControlWindow::Form_Unload() {
    WriteSettings();
    FrmSelect1.unload();
    FrmSelect12.unload();
    FrmSelectSld.unload();
    platform::endProgram();
}
