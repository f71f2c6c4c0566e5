// The ">>", "<<" and "停止"/"再開" buttons of the control window. They rely on being enabled only
// while the step they take exists, so none tests its bounds.
#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/thumbnail_grid.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

void ControlWindow::CmdNext1_Click() {
    Module1.CurIndex1 += 1;
    CmdNext1.setEnabled(Module1.CurIndex1 != Module1.FileCount1 - 1);
    CmdPrev1.setEnabled(true);
    Module1.CurFile1 = Module1.DirPath1 + Module1.FileList1[Module1.CurIndex1];
    FrmShow1->LoadControl1(Module1.CurFile1, Module1.FileList1[Module1.CurIndex1], kCaptionSingle);
}

void ControlWindow::CmdPrev1_Click() {
    Module1.CurIndex1 -= 1;
    CmdPrev1.setEnabled(Module1.CurIndex1 != 0);
    CmdNext1.setEnabled(true);
    Module1.CurFile1 = Module1.DirPath1 + Module1.FileList1[Module1.CurIndex1];
    FrmShow1->LoadControl1(Module1.CurFile1, Module1.FileList1[Module1.CurIndex1], kCaptionSingle);
}

void ControlWindow::CmdNext12_Click() {
    Module1.CurIndex12 += ThumbnailGrid::kPage;
    FrmShow12->LoopControl();
    CmdPrev12.setEnabled(true);
}

void ControlWindow::CmdPrev12_Click() {
    Module1.CurIndex12 -= ThumbnailGrid::kPage;
    FrmShow12->LoopControl();
    if (Module1.CurIndex12 == 0) {
        CmdPrev12.setEnabled(false);
        Module1.Prev12Saved = 0;
    }
}

void ControlWindow::CmdNextSld_Click() {
    if (Module1.CurIndexSld == Module1.FileCountSld - 1) {
        FrmSelectSld->Timer1.setRunning(false);
        CmdPrevSld.setEnabled(false);
        FrmShow1->hideWindow();
    } else {
        Module1.CurIndexSld += 1;
        FrmSelectSld->Timer1.setRunning(false);
        FrmSelectSld->Timer1.setRunning(true);
        FrmSelectSld->TimerControl();
    }
}

void ControlWindow::CmdPrevSld_Click() {
    if (Module1.CurIndexSld != 0) {
        Module1.CurIndexSld -= 1;
        FrmSelectSld->Timer1.setRunning(false);
        FrmSelectSld->Timer1.setRunning(true);
        FrmSelectSld->TimerControl();
    } else {
        FrmSelectSld->Timer1.setRunning(false);
        CmdNextSld.setEnabled(false);
        FrmShow1->hideWindow();
    }
}

void ControlWindow::CmdBrkSld_Click() {
    if (CmdBrkSld.caption() == kStopCaption) {
        CmdBrkSld.setCaption(kResumeCaption);
        ResetNavigation();
        FrmSelectSld->Timer1.setRunning(false);
    } else {
        CmdBrkSld.setCaption(kStopCaption);
        FrmSelectSld->Timer1.setRunning(true);
    }
}
