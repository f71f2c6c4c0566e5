// The control window's ">>", "<<" and "停止"/"再開": which event enables which button, and the
// steps they take, driven through the real buttons, keys and windows.
#include <QApplication>
#include <array>
#include <functional>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {

constexpr int kButtons = 7;
const char* const kButtonNames[kButtons] = {"CmdNext1",   "CmdPrev1",   "CmdNext12", "CmdPrev12",
                                            "CmdNextSld", "CmdPrevSld", "CmdBrkSld"};
std::array<platform::CommandButton*, kButtons> buttons() {
    return {&Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdNext12, &Form1->CmdPrev12,
            &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
}
enum Column { Next1, Prev1, Next12, Prev12, NextSld, PrevSld, BrkSld };

// A folder below home holding n pictures pic01.bmp ...
QString pictures(TestDesktop& desktop, int n) {
    const QString folder = desktop.folder(QString("home/p%1").arg(n));
    TestDesktop::writePictures(folder, n, "pic", 8, 6);
    return folder;
}

void openSingle(const QString& folder, int index) {
    click(&Form1->CmdShow1);
    FrmSelect1->Dir1.setPath(folder);
    FrmSelect1->File1.setSelectedIndex(index);
    click(&FrmSelect1->Command1);
}

void openGrid(const QString& folder, int pagesOn = 0) {
    click(&Form1->CmdShow12);
    FrmSelect12->Dir1.setPath(folder);
    click(&FrmSelect12->Command1);
    for (int i = 0; i < pagesOn; ++i) click(&Form1->CmdNext12);
}

void startShow(const QString& folder, int ticks = 0) {
    click(&Form1->CmdSld);
    FrmSelectSld->Dir1.setPath(folder);
    FrmSelectSld->Text1.setText("5");
    click(&FrmSelectSld->Command1);
    for (int i = 0; i < ticks; ++i) FrmSelectSld->Timer1.fireTick();
}

void tick() { FrmSelectSld->Timer1.fireTick(); }

void allNavigationOn() {
    for (auto* button : buttons()) button->setEnabled(true);
    Module1.Next12Saved = true;
    Module1.Prev12Saved = -1;
}

QString viewerShows() {
    return FrmShow1->caption().section(QLatin1Char(' '), -1);
}

// One row of the enabling rules: a state, the event, and the seven buttons afterwards.
enum class E { Off, On, Same };
struct Row {
    const char* name;
    std::function<void(TestDesktop&)> setUp;
    std::function<void()> fire;
    std::array<E, kButtons> expected;
    QString caption = {};  // CmdBrkSld's caption afterwards; empty: unchanged
    int trigger = -1;      // a "Same" button the event presses, left as the set-up made it
    std::function<void()> alsoCheck = {};
};

constexpr E Off = E::Off, On = E::On, Same = E::Same;
using Buttons = std::array<E, kButtons>;
const Buttons kAllOff = {Off, Off, Off, Off, Off, Off, Off};
Buttons single(E next, E prev) { return {next, prev, Same, Same, Same, Same, Same}; }
Buttons pages(E next, E prev) { return {Same, Same, next, prev, Same, Same, Same}; }
Buttons slides(E next, E prev, E stop = Same) { return {Same, Same, Same, Same, next, prev, stop}; }

void chooseFile(TestDesktop& d, int files, int index) {
    click(&Form1->CmdShow1);
    FrmSelect1->Dir1.setPath(pictures(d, files));
    FrmSelect1->File1.setSelectedIndex(index);
}
void chooseShowFolder(TestDesktop& d, int files) {
    click(&Form1->CmdSld);
    FrmSelectSld->Dir1.setPath(pictures(d, files));
    FrmSelectSld->Text1.setText("5");
}
void verifyTimerStopped() { QVERIFY(!FrmSelectSld->Timer1.running()); }
void verifyShowOver() {
    QVERIFY(!FrmShow1->isVisible());
    QVERIFY(!FrmSelectSld->Timer1.running());
}
void verifySavedCleared() {
    QVERIFY(!Module1.Next12Saved);
    QCOMPARE(Module1.Prev12Saved, int16_t(0));
}

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        {"ResetNavigation", [](TestDesktop&) { allNavigationOn(); }, [] { ResetNavigation(); },
         {Off, Off, Off, Off, Off, Off, Same}, {}, -1, verifySavedCleared},
        // The mode buttons, pressed during a running show with everything on.
        {"mode button １枚", [](TestDesktop& d) { startShow(pictures(d, 3), 1); allNavigationOn(); },
         [] { click(&Form1->CmdShow1); }, kAllOff, {}, -1, verifyTimerStopped},
        {"mode button 12枚", [](TestDesktop& d) { startShow(pictures(d, 3), 1); allNavigationOn(); },
         [] { click(&Form1->CmdShow12); }, kAllOff, {}, -1, verifyTimerStopped},
        {"mode button スライド", [](TestDesktop& d) { startShow(pictures(d, 3), 1); allNavigationOn(); },
         [] { click(&Form1->CmdSld); }, kAllOff, {}, -1, verifyTimerStopped},
        // "開く" in the file chooser, and the single-picture steps by key and by button.
        {"open the first of three", [](TestDesktop& d) { chooseFile(d, 3, 0); },
         [] { click(&FrmSelect1->Command1); }, single(On, Off)},
        {"open the last of three", [](TestDesktop& d) { chooseFile(d, 3, 2); },
         [] { click(&FrmSelect1->Command1); }, single(Off, On)},
        {"open the only file", [](TestDesktop& d) { chooseFile(d, 1, 0); },
         [] { click(&FrmSelect1->Command1); }, single(Off, Off)},
        {"Enter to the middle of three", [](TestDesktop& d) { openSingle(pictures(d, 3), 0); },
         [] { QTest::keyClick(FrmShow1.get(), Qt::Key_Return); }, single(On, On)},
        {">> to the last of three", [](TestDesktop& d) { openSingle(pictures(d, 3), 1); },
         [] { click(&Form1->CmdNext1); }, single(Off, On)},
        {"Backspace to the first of three", [](TestDesktop& d) { openSingle(pictures(d, 3), 1); },
         [] { QTest::keyClick(FrmShow1.get(), Qt::Key_Backspace); }, single(On, Off)},
        {"<< to the middle of three", [](TestDesktop& d) { openSingle(pictures(d, 3), 2); },
         [] { click(&Form1->CmdPrev1); }, single(On, On)},
        // Thumbnail pages: ">>" only while a further page exists.
        {"first page of 13",
         [](TestDesktop& d) { click(&Form1->CmdShow12); FrmSelect12->Dir1.setPath(pictures(d, 13)); },
         [] { click(&FrmSelect12->Command1); }, pages(On, Same)},
        {"first page of 12",
         [](TestDesktop& d) { click(&Form1->CmdShow12); FrmSelect12->Dir1.setPath(pictures(d, 12)); },
         [] { click(&FrmSelect12->Command1); }, pages(Off, Same)},
        {"Enter to page 2 of 25", [](TestDesktop& d) { openGrid(pictures(d, 25)); },
         [] { QTest::keyClick(FrmShow12.get(), Qt::Key_Return); }, pages(On, On)},
        {">> to page 2 of 24", [](TestDesktop& d) { openGrid(pictures(d, 24)); },
         [] { click(&Form1->CmdNext12); }, pages(Off, On)},
        {"Backspace to page 1 of 25",
         [](TestDesktop& d) { openGrid(pictures(d, 25), 1); Module1.Prev12Saved = -1; },
         [] { QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace); }, pages(On, Off), {}, -1,
         [] { QCOMPARE(Module1.Prev12Saved, int16_t(0)); }},
        {"<< to page 2 of 37", [](TestDesktop& d) { openGrid(pictures(d, 37), 2); },
         [] { click(&Form1->CmdPrev12); }, pages(On, Same), {}, Prev12},
        // A thumbnail opened in the viewer saves the page buttons; a click on the viewer
        // gives them back.
        {"thumbnail on page 2 of 37",
         [](TestDesktop& d) { openGrid(pictures(d, 37), 1); Module1.Next12Saved = false; },
         [] { click(FrmShow12->Picture1[0].get()); }, pages(Off, Off), {}, -1,
         [] {
             QVERIFY(Module1.Next12Saved);
             QCOMPARE(Module1.Prev12Saved, int16_t(-1));
             QCOMPARE(viewerShows(), QString("pic13.bmp"));
         }},
        {"thumbnail on the only page", [](TestDesktop& d) { openGrid(pictures(d, 5)); },
         [] { click(FrmShow12->Picture1[4].get()); }, pages(Off, Off), {}, -1, verifySavedCleared},
        {"viewer closed by a click over the grid",
         [](TestDesktop& d) { openGrid(pictures(d, 37), 1); click(FrmShow12->Picture1[0].get()); },
         [] { click(&FrmShow1->Picture1); }, {Off, Off, On, On, Off, Off, Off}},
        {"viewer closed by a click during a show", [](TestDesktop& d) { startShow(pictures(d, 3), 1); },
         [] { click(&FrmShow1->Picture1); }, {Off, Off, Same, Same, Off, Off, Off}, {}, -1,
         verifyShowOver},
        {"viewer destroyed during a show", [](TestDesktop& d) { startShow(pictures(d, 3), 1); },
         [] { FrmShow1->closeByFrame(); }, kAllOff},
        {"grid destroyed on page 2", [](TestDesktop& d) { openGrid(pictures(d, 37), 1); },
         [] { FrmShow12->closeByFrame(); }, {Off, Off, Off, Off, Off, Off, Same}, {}, -1,
         verifySavedCleared},
        // The slideshow: its start, its steps, its end, stop and resume.
        {"show of three started after a paused one",
         [](TestDesktop& d) { chooseShowFolder(d, 3); Form1->CmdBrkSld.setCaption("再開"); },
         [] { click(&FrmSelectSld->Command1); }, slides(On, Off, On), "停止"},
        {"show of one started", [](TestDesktop& d) { chooseShowFolder(d, 1); },
         [] { click(&FrmSelectSld->Command1); }, slides(Off, Off, On), "停止"},
        {"tick to the middle of three", [](TestDesktop& d) { startShow(pictures(d, 3)); }, tick,
         slides(On, On)},
        {"tick to the last of two", [](TestDesktop& d) { startShow(pictures(d, 2)); }, tick,
         slides(Off, On)},
        {"tick at the last without repeat", [](TestDesktop& d) { startShow(pictures(d, 2), 1); }, tick,
         slides(Same, Off, Off), {}, -1, verifyShowOver},
        {"CmdNextSld_Click at the last slide", [](TestDesktop& d) { startShow(pictures(d, 2), 1); },
         [] { Form1->CmdNextSld_Click(); }, slides(Same, Off), {}, -1, verifyShowOver},
        {"CmdPrevSld_Click at the first slide", [](TestDesktop& d) { startShow(pictures(d, 2)); },
         [] { Form1->CmdPrevSld_Click(); }, slides(Off, Same), {}, -1, verifyShowOver},
        // Stop turns off the steps of every mode, however they came to be on.
        {"stop", [](TestDesktop& d) { startShow(pictures(d, 3), 1); allNavigationOn(); },
         [] { click(&Form1->CmdBrkSld); }, {Off, Off, Off, Off, Off, Off, Same}, "再開", BrkSld,
         [] {
             verifyTimerStopped();
             verifySavedCleared();
             QCOMPARE(viewerShows(), QString("pic02.bmp"));  // the picture stays
         }},
        {"resume", [](TestDesktop& d) { startShow(pictures(d, 3), 1); click(&Form1->CmdBrkSld); },
         [] { click(&Form1->CmdBrkSld); }, slides(Same, Same), "停止", BrkSld,
         [] {
             QVERIFY(FrmSelectSld->Timer1.running());
             QCOMPARE(Module1.CurIndexSld, int16_t(1));
         }},
    };
    return table;
}

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        desktop->startProgram();
    }
    void cleanup() { desktop.reset(); }

    // Every row runs twice: with the buttons the event must leave alone first all on, then
    // all off, so that a button it touches by mistake shows either way.
    void enablingRules_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("othersOn");
        for (int i = 0; i < int(rows().size()); ++i) {
            QTest::addRow("%s / others on", rows()[i].name) << i << true;
            QTest::addRow("%s / others off", rows()[i].name) << i << false;
        }
    }
    void enablingRules() {
        QFETCH(int, row);
        QFETCH(bool, othersOn);
        const Row& r = rows()[row];
        r.setUp(*desktop);
        if (QTest::currentTestFailed()) return;
        const auto all = buttons();
        for (int i = 0; i < kButtons; ++i) {
            if (r.expected[i] == E::Same && i != r.trigger) all[i]->setEnabled(othersOn);
        }
        if (r.caption.isEmpty()) Form1->CmdBrkSld.setCaption(othersOn ? "再開" : "停止");
        std::array<bool, kButtons> before;
        for (int i = 0; i < kButtons; ++i) before[i] = all[i]->isEnabled();
        const QString captionBefore = Form1->CmdBrkSld.caption();

        r.fire();

        for (int i = 0; i < kButtons; ++i) {
            const bool want = r.expected[i] == E::Same ? before[i] : r.expected[i] == E::On;
            QVERIFY2(all[i]->isEnabled() == want,
                     qPrintable(QString("%1 should be %2").arg(kButtonNames[i], want ? "on" : "off")));
        }
        QCOMPARE(Form1->CmdBrkSld.caption(), r.caption.isEmpty() ? captionBefore : r.caption);
        if (r.alsoCheck) r.alsoCheck();
    }

    // Keys act only through an enabled button: at either end they do nothing.
    void steppingThroughThreePicturesAndOne() {
        const QString folder = pictures(*desktop, 3);
        openSingle(folder, 0);
        click(&Form1->CmdNext1);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        QCOMPARE(viewerShows(), QString("pic03.bmp"));
        QCOMPARE(Module1.CurFile1, folder + "/pic03.bmp");
        click(&Form1->CmdPrev1);
        QCOMPARE(viewerShows(), QString("pic02.bmp"));
        QCOMPARE(Module1.CurFile1, folder + "/pic02.bmp");
        QVERIFY(Form1->CmdNext1.isEnabled() && Form1->CmdPrev1.isEnabled());

        openSingle(pictures(*desktop, 1), 0);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Backspace);
        QCOMPARE(Module1.CurIndex1, int16_t(0));
        QCOMPARE(viewerShows(), QString("pic01.bmp"));
        QVERIFY(!Form1->CmdNext1.isEnabled() && !Form1->CmdPrev1.isEnabled());
    }

    void stopOrResumeIsDecidedByTheCaptionAlone_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("stops");
        QTest::newRow("停止") << "停止" << true;
        QTest::newRow("再開") << "再開" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("停止 with a blank") << "停止 " << false;
        QTest::newRow("stop") << "stop" << false;
    }
    void stopOrResumeIsDecidedByTheCaptionAlone() {
        QFETCH(QString, caption);
        QFETCH(bool, stops);
        startShow(pictures(*desktop, 3), 1);
        Form1->CmdBrkSld.setCaption(caption);
        FrmSelectSld->Timer1.setRunning(stops);  // a paused show's timer stands still
        click(&Form1->CmdBrkSld);
        QCOMPARE(Form1->CmdBrkSld.caption(), QString(stops ? "再開" : "停止"));
        QCOMPARE(FrmSelectSld->Timer1.running(), !stops);
        QCOMPARE(Form1->CmdNextSld.isEnabled(), !stops);
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
