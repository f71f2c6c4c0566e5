#pragma once
#include "app/chooser.h"
#include "app/module1.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "slideshow/random_fraction.h"

// The slideshow setup window: folder, interval, repeat, random and fit-to-screen options, and
// the start button. It also hosts the slideshow engine: its timer and step procedures.
class SlideshowSetup : public Chooser {
public:
    SlideshowSetup();

    platform::Label Label5;
    platform::Label Label1;
    platform::TextBox Text1;    // interval in seconds
    platform::CheckBox Check1;  // repeat
    platform::Label Label2;
    platform::CheckBox Check2;  // random
    platform::Label Label3;
    platform::CheckBox Check3;  // fit to screen: the one the viewer reads
    platform::Label Label4;
    platform::CommandButton Command1;  // "スライドショー"
    platform::CommandButton Command2;  // "キャンセル"
    platform::Timer Timer1;

    // Starts the show over from its first picture with the settings as they stand.
    void Command1_Click();
    // Shows CurIndexSld's picture and sets ">>" and "<<"; the timer runs.
    void TimerControl();
    void Timer1_Timer();

    // The generator, for tests that need a known sequence.
    RandomFraction& Random() { return m_random; }

private:
    void Text1_Change();
    void Check3_Click();
    void Command2_Click();
    void Dir1_Change() override;
    void MakeRandomOrder();
    void ShiftPool(const int16_t& i);
    void EndShow();

    int16_t Rnum = 0;
    RandomFraction m_random;
};
