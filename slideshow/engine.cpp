// The slideshow engine: the step timer's tick, the step itself and the random order.
#include <cmath>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

void SlideshowSetup::TimerControl() {
    Timer1.setRunning(true);
    Form1->CmdNextSld.setEnabled(Module1.CurIndexSld != Module1.FileCountSld - 1);
    Form1->CmdPrevSld.setEnabled(Module1.CurIndexSld != 0);
    const QString& name = Module1.FileListSld[Module1.CurIndexSld];
    FrmShow1->LoadControl1(Module1.DirPathSld + name, name, kCaptionSingle);
}

void SlideshowSetup::Timer1_Timer() {
    if (Module1.CurIndexSld != Module1.FileCountSld - 1) {
        Module1.CurIndexSld += 1;
        TimerControl();
    } else if (Check1.value() == 1 && File1.entryCount() > 0) {
        Command1_Click();
    } else {
        // The end of the list, or a repeat over a folder that has no pictures left.
        EndShow();
    }
}

void SlideshowSetup::EndShow() {
    Timer1.setRunning(false);
    Form1->CmdPrevSld.setEnabled(false);
    FrmShow1->hideWindow();
    Form1->CmdBrkSld.setEnabled(false);
}

// A draw without replacement from a pool that keeps list order.
void SlideshowSetup::MakeRandomOrder() {
    for (int i = 0; i < Module1.FileCountSld; ++i) Module1.SldPool[i] = File1.entry(i);
    const int16_t last = int16_t(Module1.FileCountSld - 1);
    for (int16_t i = 0; i <= last; ++i) {
        const int n = Module1.FileCountSld - i;
        const double r = m_random.next();
        Rnum = int16_t(std::floor(r * double(n)));
        Module1.FileListSld[i] = Module1.SldPool[Rnum];
        if (Rnum != Module1.FileCountSld - 1 - i) ShiftPool(i);
    }
}

// Closes the gap the last draw left, keeping the pool in list order.
void SlideshowSetup::ShiftPool(const int16_t& i) {
    for (int k = Rnum + 1; k <= Module1.FileCountSld - 1 - i; ++k) {
        Module1.SldPool[k - 1] = Module1.SldPool[k];
    }
}
