// The control window's ">>", "<<" and "停止"/"再開" in every mode, and a slideshow's course tick
// by tick, through the real buttons, keys and windows. Both tables are written in the user's
// actions (run) and in checks (after "?"), one word each.
#include "tests/support/desktop.h"

namespace {
// Runs one word: an action, or a check of what it names.
void run(TestDesktop& d, const QString& word) {
    const QStringList w = word.split(':');
    const auto folder = [&](int i) { return d.folder("home/p" + w[i], w[i].toInt()); };
    const QList<platform::CommandButton*> steps = navigationButtons();
    const QStringList stepNames{"next1", "prev1", "next12", "prev12", "nextS", "prevS", "brk"};
    if (stepNames.contains(w[0])) return click(*steps[stepNames.indexOf(w[0])]);
    SlideshowSetup& s = *FrmSelectSld;
    const QMap<QString, std::function<void()>> actions = {
        {"file", [&] { click(Form1->CmdShow1), FrmSelect1->Dir1.setPath(folder(1)); }},
        {"select", [&] { FrmSelect1->File1.setSelectedIndex(w[1].toInt()); }},
        {"open", [] { click(FrmSelect1->Command1); }},
        {"folder12", [&] { click(Form1->CmdShow12), FrmSelect12->Dir1.setPath(folder(1)); }},
        {"show12", [] { click(FrmSelect12->Command1); }},
        {"folderS", [&] { click(Form1->CmdSld), s.Dir1.setPath(folder(1)), s.Text1.setText("5"); }},
        {"otherS", [&] { s.Dir1.setPath(folder(1)); }},
        {"start", [&] { click(s.Command1); }},
        {"interval", [&] { s.Text1.setText(w.value(1)); }},
        {"untick", [&] { click(s.Check1); }},
        {"cancel", [&] { click(s.Command2); }},
        {"tick", tick},
        {"paused", [] { Form1->CmdBrkSld.setCaption("再開"); }},
        {"Enter", [] { key(*FrmShow1, Qt::Key_Return); }},
        {"Backspace", [] { key(FrmShow1->Picture1, Qt::Key_Backspace); }},
        {"gridEnter", [] { key(*FrmShow12, Qt::Key_Return); }},
        {"gridBackspace", [] { key(*FrmShow12, Qt::Key_Backspace); }},
        {"cell", [&] { click(*FrmShow12->Picture1[w[1].toInt()]); }},
        {"close", [] { click(FrmShow1->Picture1); }},
        {"beside", [] { click(*FrmShow1, QPoint(2, 2)); }},
        {"destroyViewer", [] { FrmShow1->closeByFrame(); }},
        {"destroyGrid", [] { FrmShow12->closeByFrame(); }},
        {"allOn",
         [&] {
             for (auto* b : steps) b->setEnabled(true);
             Module1.Next12Saved = true, Module1.Prev12Saved = -1;
         }},
        {"?shows", [&] { QCOMPARE(viewerShows(), w[1]); }},
        {"?file", [&] { QCOMPARE(Module1.CurFile1, FrmSelect1->Dir1.path() + "/" + w[1]); }},
        {"?slide", [&] { QCOMPARE(Module1.CurIndexSld, w[1].toShort()); }},
        {"?over", [&] { QVERIFY(!FrmShow1->isShown() && !s.Timer1.running()); }},
        {"?running", [&] { QVERIFY(s.Timer1.running()); }},
        {"?saved", [] { QVERIFY(Module1.Next12Saved && Module1.Prev12Saved == -1); }},
        {"?cleared", [] { QVERIFY(!Module1.Next12Saved && Module1.Prev12Saved == 0); }},
        {"?prevSaved", [&] { QCOMPARE(Module1.Prev12Saved, w[1].toShort()); }},
        {"?prev12off", [] { QVERIFY(!Form1->CmdPrev12.isEnabled()); }},
    };
    QVERIFY2(actions.contains(w[0]), qPrintable(word));
    actions[w[0]]();
}
void run(TestDesktop& d, const QString& words, const char* what) {
    for (const QString& word : words.split(' ', Qt::SkipEmptyParts)) {
        run(d, word);
        if (QTest::currentTestFailed())
            qWarning("at %s of %s: %s", qPrintable(word), what, qPrintable(words));
        if (QTest::currentTestFailed()) return;
    }
}

// The show at a glance: the index, the picture on show ("-": none), the running timer's
// interval, ">>" and "<<" (".." off), "停止"/"再開" (in brackets: off), "hidden" while the setup
// window is.
QString showState() {
    const platform::Timer& timer = FrmSelectSld->Timer1;
    const auto on = [](platform::CommandButton& b, const char* text) {
        return b.isEnabled() ? text : "..";
    };
    const QString brk = Form1->CmdBrkSld.caption();
    QStringList state{
        QString::number(Module1.CurIndexSld), viewerShows().isEmpty() ? "-" : viewerShows(),
        timer.running() ? QString::number(timer.interval() / 1000.0) + "s" : "stopped",
        on(Form1->CmdNextSld, ">>") + QString(on(Form1->CmdPrevSld, "<<")),
        Form1->CmdBrkSld.isEnabled() ? brk : "(" + brk + ")"};
    if (!FrmSelectSld->isShown()) state << "hidden";
    return state.join(' ');
}
}  // namespace

class NavigationTest : public DesktopTest {
    Q_OBJECT
private slots:
    // A state, an event, and the seven buttons afterwards (">>", "<<" of each mode, "停止"):
    // "+" on, "-" off, "=" as it was; those are set on in one run and off in the other, so that
    // one touched by mistake shows either way. The button the event presses is on beforehand.
    void enablingRules_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("checks");
        const auto row = [](const char* name, const char* setUp, const char* event,
                            const char* buttons, const char* checks = "") {
            for (const char* others : {"on", "off"})
                QTest::addRow("%s / others %s", name, others)
                    << setUp << event << buttons << checks;
        };
        row("open the first of three", "file:3 select:0", "open", "+-=====", "?file:pic01.bmp");
        row("open the last of three", "file:3 select:2", "open", "-+=====");
        row("open the only file", "file:1 select:0", "open", "--=====");
        row("Enter to the middle of three", "file:3 select:0 open", "Enter", "++=====");
        row(">> to the last of three", "file:3 select:1 open", "next1",
            "-+=====", "?file:pic03.bmp");
        row("Backspace to the first", "file:3 select:1 open", "Backspace",
            "+-=====", "?shows:pic01.bmp");
        row("<< to the middle of three", "file:3 select:2 open", "prev1",
            "++=====", "?shows:pic02.bmp");
        row("first page of 13", "folder12:13", "show12", "==+====");
        row("first page of 12", "folder12:12", "show12", "==-====");
        row("Enter to page 2 of 25", "folder12:25 show12", "gridEnter", "==++===");
        row(">> to page 2 of 24", "folder12:24 show12", "next12", "==-+===");
        row("<< to page 2 of 37", "folder12:37 show12 next12 next12", "prev12", "==+====");
        // Back on the first page, the "<<" saved by a thumbnail on page 2 is forgotten.
        row("Backspace to page 1 after a thumbnail on page 2",
            "folder12:25 show12 next12 cell:0 close", "gridBackspace",
            "==+-===", "?prevSaved:0 cell:0 close ?prev12off");
        row("thumbnail on page 2 of 37", "folder12:37 show12 next12", "cell:0",
            "==--===", "?saved ?shows:pic13.bmp");
        row("thumbnail on the only page", "folder12:5 show12", "cell:4", "==--===", "?cleared");
        row("viewer closed over page 2 of 37", "folder12:37 show12 next12 cell:0", "close",
            "--++---");
        row("viewer closed beside the picture", "folder12:25 show12 cell:0", "beside", "--+=---");
        row("viewer closed during a show", "folderS:3 start tick", "close", "--==---", "?over");
        row("viewer destroyed during a show", "folderS:3 start tick", "destroyViewer", "-------",
            "?over");
        row("grid destroyed on page 2", "folder12:37 show12 next12", "destroyGrid",
            "------=", "?cleared");
        row("show of three started after a paused one", "folderS:3 paused", "start", "====+-+",
            "?running");
        row("show of one started", "folderS:1", "start", "====--+");
        row("tick to the middle of three", "folderS:3 start", "tick",
            "====++=", "?shows:pic02.bmp");
        row("tick to the last of two", "folderS:2 start", "tick", "====-+=");
        row("tick at the last without repeat", "folderS:2 start tick", "tick", "=====--", "?over");
        row(">> to the middle of three", "folderS:3 start", "nextS",
            "====++=", "?slide:1 ?shows:pic02.bmp");
        row("<< to the middle of three", "folderS:3 start tick tick", "prevS",
            "====++=", "?slide:1 ?shows:pic02.bmp");
        row(">> on the last slide ends the show", "folderS:2 start tick", "nextS",
            "=====-=", "?over");
        row("<< on the first slide ends the show", "folderS:2 start", "prevS", "====-==", "?over");
        // Stop turns off the steps of every mode, however they came to be on; the picture stays.
        row("stop", "folderS:3 start tick allOn", "brk",
            "------=", "?cleared ?shows:pic02.bmp ?slide:1");
        row("resume", "folderS:3 start tick brk", "brk", "=======", "?running ?slide:1");
    }
    void enablingRules() {
        QFETCH(QString, setUp);
        QFETCH(QString, event);
        QFETCH(QString, buttons);
        QFETCH(QString, checks);
        const bool othersOn = QString(QTest::currentDataTag()).endsWith("on");
        run(*desktop, setUp, "the set-up");
        const QStringList names{"next1", "prev1", "next12", "prev12", "nextS", "prevS", "brk"};
        const auto all = navigationButtons();
        for (int i = 0; i < 7; ++i) {
            if (buttons[i] == '=') all[i]->setEnabled(othersOn || event == names[i]);
        }
        const QString caption = event == "brk"
                                    ? (Form1->CmdBrkSld.caption() == "停止" ? "再開" : "停止")
                                : event == "start" ? "停止"
                                : othersOn         ? "再開"
                                                   : "停止";
        if (event != "brk" && event != "start") Form1->CmdBrkSld.setCaption(caption);
        QList<bool> before;
        for (auto* button : all) before << button->isEnabled();
        run(*desktop, event, "the event");
        for (int i = 0; i < 7; ++i) {
            const bool want = buttons[i] == '=' ? before[i] : buttons[i] == '+';
            QVERIFY2(all[i]->isEnabled() == want, qPrintable(names[i] + (want ? " off" : " on")));
        }
        QCOMPARE(Form1->CmdBrkSld.caption(), caption);
        run(*desktop, checks, "the checks");
    }

    // A show on n pictures, with repeat or not, then "actions: the state after them".
    void course_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QStringList>("steps");
        using L = QStringList;
        QTest::newRow("one picture") << 1 << 0 << L{"tick: 0 - stopped .... (停止)"};
        QTest::newRow("one picture, repeat") << 1 << 1 << L{"tick: 0 pic01.bmp 5s .... 停止"};
        QTest::newRow("two pictures")
            << 2 << 0
            << L{"tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)",
                 "tick: 1 - stopped .... (停止)"};
        QTest::newRow("repeat unticked in the second pass")
            << 2 << 1
            << L{"tick tick: 0 pic01.bmp 5s >>.. 停止", "untick: 0 pic01.bmp 5s >>.. 停止",
                 "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)"};
        QTest::newRow("steps by hand")
            << 3 << 0
            << L{"nextS: 1 pic02.bmp 5s >><< 停止", "prevS: 0 pic01.bmp 5s >>.. 停止",
                 "Enter Enter: 2 pic03.bmp 5s ..<< 停止", "Enter: 2 pic03.bmp 5s ..<< 停止",
                 "Backspace: 1 pic02.bmp 5s >><< 停止"};
        for (int repeat : {0, 1}) {
            QTest::addRow("stop and resume on the last slide, repeat %d", repeat)
                << 2 << repeat
                << L{"tick brk: 1 pic02.bmp stopped .... 再開",
                     "tick: 1 pic02.bmp stopped .... 再開", "brk: 1 pic02.bmp 5s .... 停止",
                     repeat ? "tick: 0 pic01.bmp 5s >>.. 停止" : "tick: 1 - stopped .... (停止)"};
        }
        QTest::newRow("repeat on a folder without pictures")
            << 2 << 1
            << L{"otherS:0 tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)"};
        QTest::newRow("repeat on another folder")
            << 2 << 1
            << L{"otherS:3 tick tick: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s >><< 停止"};
        QTest::newRow("repeat without an interval ticks no more")
            << 2 << 1
            << L{"interval tick tick: 0 pic01.bmp 0s >>.. 停止", "tick: 0 pic01.bmp 0s >>.. 停止",
                 "nextS: 1 pic02.bmp 0s ..<< 停止"};
        QTest::newRow("cancel hides the setup window only")
            << 3 << 0
            << L{"cancel: 0 pic01.bmp 5s >>.. 停止 hidden",
                 "tick: 1 pic02.bmp 5s >><< 停止 hidden"};
        QTest::newRow("started again while paused")
            << 3 << 0
            << L{"tick brk interval:2.5: 1 pic02.bmp stopped .... 再開",
                 "start: 0 pic01.bmp 2.5s >>.. 停止"};
    }
    void course() {
        QFETCH(int, files);
        QFETCH(int, repeat);
        QFETCH(QStringList, steps);
        run(*desktop, QString("folderS:%1").arg(files), "the set-up");
        FrmSelectSld->Check1.setValue(repeat);
        run(*desktop, "start", "the start");
        QCOMPARE(Module1.DirPathSld, desktop->home() + QString("/p%1/").arg(files));
        QCOMPARE(showState().section(' ', 1),
                 "pic01.bmp 5s " + QString(files > 1 ? ">>.." : "....") + " 停止");
        for (const QString& step : steps) {
            run(*desktop, step.section(": ", 0, 0), "a step");
            QVERIFY2(showState() == step.section(": ", 1),
                     qPrintable(step + "  but got  " + showState()));
        }
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
