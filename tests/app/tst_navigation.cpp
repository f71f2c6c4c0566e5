// The control window's ">>", "<<" and "停止"/"再開": which event enables which button, and the
// steps they take, driven through the real buttons, keys and windows.
#include "tests/support/fixture.h"

namespace {
// The buttons in the order navigationButtons() gives them.
const char* const kButtonNames[] = {"CmdNext1",   "CmdPrev1",   "CmdNext12", "CmdPrev12",
                                    "CmdNextSld", "CmdPrevSld", "CmdBrkSld"};
enum { kPrev12 = 3, kBrkSld = 6 };

using SetUp = std::function<void(TestDesktop&)>;
using Event = std::function<void()>;

// One row of the enabling rules: a state, the event, and the seven buttons afterwards, each "+"
// (enabled), "-" (disabled) or "=" (as it was: the buttons the event must leave alone are set
// on, and in a second run off, so that one it touches by mistake shows either way).
struct Row {
    const char* name;
    SetUp setUp;
    Event fire;
    QString expected;
    QString caption = {};  // CmdBrkSld's caption afterwards; empty: unchanged
    int trigger = -1;      // an "=" button the event presses, left as the set-up made it
    Event alsoCheck = {};
};

QString folderOf(TestDesktop& d, int n) { return d.folderWith(QString("home/p%1").arg(n), n); }

// The states the events start from.
SetUp fileChosen(int files, int index) {
    return [=](TestDesktop& d) {
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(folderOf(d, files));
        FrmSelect1->File1.setSelectedIndex(index);
    };
}
SetUp picture(int files, int index) { return [=](TestDesktop& d) { openSingle(folderOf(d, files), index); }; }
SetUp gridChosen(int files) {
    return [=](TestDesktop& d) {
        click(&Form1->CmdShow12);
        FrmSelect12->Dir1.setPath(folderOf(d, files));
    };
}
SetUp grid(int files, int pagesOn = 0) { return [=](TestDesktop& d) { openGrid(folderOf(d, files), pagesOn); }; }
SetUp thumbnail(int files, int pagesOn) {
    return [=](TestDesktop& d) {
        openGrid(folderOf(d, files), pagesOn);
        click(FrmShow12->Picture1[0].get());
    };
}
SetUp showChosen(int files) {
    return [=](TestDesktop& d) {
        click(&Form1->CmdSld);
        FrmSelectSld->Dir1.setPath(folderOf(d, files));
        FrmSelectSld->Text1.setText("5");
    };
}
SetUp show(int files, int ticks) {
    return [=](TestDesktop& d) {
        startShow(folderOf(d, files));
        for (int i = 0; i < ticks; ++i) tick();
    };
}

// The events.
Event key(QWidget* (*target)(), Qt::Key key) { return [=] { QTest::keyClick(target(), key); }; }
QWidget* viewer() { return FrmShow1.get(); }
QWidget* viewerPicture() { return &FrmShow1->Picture1; }
QWidget* gridWindow() { return FrmShow12.get(); }
void clickViewer() { click(&FrmShow1->Picture1); }

void verifyShowOver() { QVERIFY(!FrmShow1->isVisible() && !FrmSelectSld->Timer1.running()); }
void verifySavedCleared() { QVERIFY(!Module1.Next12Saved && Module1.Prev12Saved == 0); }

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        // "開く" in the file chooser, and the single-picture steps by key and by button.
        {"open the first of three", fileChosen(3, 0), [] { click(&FrmSelect1->Command1); }, "+-====="},
        {"open the last of three", fileChosen(3, 2), [] { click(&FrmSelect1->Command1); }, "-+====="},
        {"open the only file", fileChosen(1, 0), [] { click(&FrmSelect1->Command1); }, "--====="},
        {"Enter to the middle of three", picture(3, 0), key(viewer, Qt::Key_Return), "++====="},
        {">> to the last of three", picture(3, 1), [] { click(&Form1->CmdNext1); }, "-+=====", {}, -1,
         [] { QCOMPARE(Module1.CurFile1, FrmSelect1->Dir1.path() + "/" + viewerShows()); }},
        {"Backspace on the picture to the first", picture(3, 1), key(viewerPicture, Qt::Key_Backspace), "+-====="},
        {"<< to the middle of three", picture(3, 2), [] { click(&Form1->CmdPrev1); }, "++=====", {}, -1,
         [] { QCOMPARE(viewerShows(), QString("pic02.bmp")); }},
        // Thumbnail pages: ">>" only while a further page exists.
        {"first page of 13", gridChosen(13), [] { click(&FrmSelect12->Command1); }, "==+===="},
        {"first page of 12", gridChosen(12), [] { click(&FrmSelect12->Command1); }, "==-===="},
        {"Enter to page 2 of 25", grid(25), key(gridWindow, Qt::Key_Return), "==++==="},
        {">> to page 2 of 24", grid(24), [] { click(&Form1->CmdNext12); }, "==-+==="},
        {"Backspace to page 1 of 25", grid(25, 1), key(gridWindow, Qt::Key_Backspace), "==+-===", {}, -1,
         [] { QCOMPARE(Module1.Prev12Saved, int16_t(0)); }},
        {"<< to page 2 of 37", grid(37, 2), [] { click(&Form1->CmdPrev12); }, "==+====", {}, kPrev12},
        // A thumbnail opened in the viewer saves the page buttons; a click on the viewer, on the
        // picture or beside it, gives back the saved ones.
        {"thumbnail on page 2 of 37", grid(37, 1), [] { click(FrmShow12->Picture1[0].get()); }, "==--===", {}, -1,
         [] { QVERIFY(Module1.Next12Saved && Module1.Prev12Saved == -1 && viewerShows() == "pic13.bmp"); }},
        {"thumbnail on the only page", grid(5), [] { click(FrmShow12->Picture1[4].get()); }, "==--===", {}, -1,
         verifySavedCleared},
        {"viewer closed over page 2 of 37", thumbnail(37, 1), clickViewer, "--++---"},
        {"viewer closed beside the picture, next saved only", thumbnail(25, 0),
         [] { click(FrmShow1.get(), QPoint(2, 2)); }, "--+=---"},
        {"viewer closed during a show", show(3, 1), clickViewer, "--==---", {}, -1, verifyShowOver},
        {"viewer destroyed during a show", show(3, 1), [] { FrmShow1->closeByFrame(); }, "-------", {}, -1,
         [] { QVERIFY(!FrmSelectSld->Timer1.running()); }},  // the show ends with its window
        {"grid destroyed on page 2", grid(37, 1), [] { FrmShow12->closeByFrame(); }, "------=", {}, -1,
         verifySavedCleared},
        // The slideshow: its start, its steps, its end, stop and resume.
        {"show of three started after a paused one",
         [](TestDesktop& d) { showChosen(3)(d); Form1->CmdBrkSld.setCaption("再開"); },
         [] { click(&FrmSelectSld->Command1); }, "====+-+", "停止"},
        {"show of one started", showChosen(1), [] { click(&FrmSelectSld->Command1); }, "====--+", "停止"},
        {"tick to the middle of three", show(3, 0), tick, "====++="},
        {"tick to the last of two", show(2, 0), tick, "====-+="},
        {"tick at the last without repeat", show(2, 1), tick, "=====--", {}, -1, verifyShowOver},
        // Stop turns off the steps of every mode, however they came to be on; the picture stays.
        {"stop", [](TestDesktop& d) { show(3, 1)(d); allNavigationOn(); }, [] { click(&Form1->CmdBrkSld); },
         "------=", "再開", kBrkSld,
         [] {
             QVERIFY(!FrmSelectSld->Timer1.running());
             verifySavedCleared();
             QCOMPARE(viewerShows(), QString("pic02.bmp"));
         }},
        {"resume", [](TestDesktop& d) { show(3, 1)(d); click(&Form1->CmdBrkSld); }, [] { click(&Form1->CmdBrkSld); },
         "=======", "停止", kBrkSld, [] { QVERIFY(FrmSelectSld->Timer1.running() && Module1.CurIndexSld == 1); }},
    };
    return table;
}
}  // namespace

class NavigationTest : public DesktopTest {
    Q_OBJECT

private slots:
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
        const auto all = navigationButtons();
        for (int i = 0; i < 7; ++i) {
            if (r.expected[i] == '=' && i != r.trigger) all[i]->setEnabled(othersOn);
        }
        if (r.caption.isEmpty()) Form1->CmdBrkSld.setCaption(othersOn ? "再開" : "停止");
        QList<bool> before;
        for (auto* button : all) before << button->isEnabled();
        const QString captionBefore = Form1->CmdBrkSld.caption();

        r.fire();
        for (int i = 0; i < 7; ++i) {
            const bool want = r.expected[i] == '=' ? before[i] : r.expected[i] == '+';
            QVERIFY2(all[i]->isEnabled() == want,
                     qPrintable(QString("%1 should be %2").arg(kButtonNames[i], want ? "on" : "off")));
        }
        QCOMPARE(Form1->CmdBrkSld.caption(), r.caption.isEmpty() ? captionBefore : r.caption);
        if (r.alsoCheck) r.alsoCheck();
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
