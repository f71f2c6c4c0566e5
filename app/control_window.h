#pragma once
#include "platform/controls.h"
#include "platform/window.h"

// The control window: a narrow column of buttons that floats above everything for the whole
// run. Its mode buttons open the three choosers; the ">>", "<<" and "停止"/"再開" beneath them
// step and pause each mode.
// The captions of "停止"/"再開" (CmdBrkSld), the show's only record of a pause.
inline const QString kStopCaption = QStringLiteral("停止");
inline const QString kResumeCaption = QStringLiteral("再開");

class ControlWindow : public platform::Window {
public:
    ControlWindow();

    // Start-up: creates the choosers hidden, reads the work area, restores the settings.
    void Form_Load();

    platform::CommandButton CmdShow1;
    platform::CommandButton CmdNext1;
    platform::CommandButton CmdPrev1;
    platform::CommandButton CmdShow12;
    platform::CommandButton CmdNext12;
    platform::CommandButton CmdPrev12;
    platform::CommandButton CmdSld;
    platform::CommandButton CmdNextSld;
    platform::CommandButton CmdPrevSld;
    platform::CommandButton CmdBrkSld;

    // Navigation, also run by the viewer's and the grid's keys.
    void CmdNext1_Click();
    void CmdNextSld_Click();
    void CmdPrev1_Click();
    void CmdPrevSld_Click();
    void CmdNext12_Click();
    void CmdPrev12_Click();

    void CmdShow1_Click();
    void CmdShow12_Click();
    void CmdSld_Click();

protected:
    void Form_Unload() override;

private:
    void CmdBrkSld_Click();
    void SwitchMode(std::initializer_list<platform::Window*> hideInOrder,
                    platform::Window& chooser);
};

// The slideshow's start button at start-up: enabled only for a folder with pictures and an
// interval of 1 to 60 seconds.
void SetSlideshowStartButton();
