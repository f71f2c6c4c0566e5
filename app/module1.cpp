#include "app/module1.h"

#include "app/control_window.h"
#include "app/windows.h"

void ResetNavigation() {
    Form1->CmdNext1.setEnabled(false);
    Form1->CmdPrev1.setEnabled(false);
    Form1->CmdNext12.setEnabled(false);
    Form1->CmdPrev12.setEnabled(false);
    Form1->CmdNextSld.setEnabled(false);
    Form1->CmdPrevSld.setEnabled(false);
    Module1.Next12Saved = false;
    Module1.Prev12Saved = 0;
}
