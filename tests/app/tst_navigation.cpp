// ">>", "<<" and "停止"/"再開" in every mode, a show's course, its interval, ticks and random
// order, through the real buttons, keys and windows; ticks are fired directly. The tables are in
// words: actions, and checks after "?"; p13 holds 13 pictures.
#include "tests/support/desktop.h"

namespace {
SlideshowSetup& setup() { return *FrmSelectSld; }
QStringList showOrder() { return {Module1.FileListSld.begin(), Module1.FileListSld.end() - 1}; }
const QStringList kSteps{"next1", "prev1", "next12", "prev12", "nextS", "prevS", "brk"};

void run(TestDesktop& d, const QString& words) {
    for (const QString& word : words.split(' ', Qt::SkipEmptyParts)) {
        const QString arg = word.section(':', 1), name = word.section(':', 0, 0);
        const auto folder = [&] { return d.folder("home/p" + arg, arg.toInt()); };
        const auto chooser = [&] { return choosers()[QString("1 12 S").split(' ').indexOf(arg)]; };
        SlideshowSetup& s = *FrmSelectSld;
        const QMap<QString, std::function<void()>> actions = {
            {"file", [&] { click(Form1->CmdShow1), FrmSelect1->Dir1.setPath(folder()); }},
            {"select", [&] { FrmSelect1->File1.setSelectedIndex(arg.toInt()); }},
            {"open", [] { click(FrmSelect1->Command1); }},
            {"folder12", [&] { click(Form1->CmdShow12), FrmSelect12->Dir1.setPath(folder()); }},
            {"show12", [] { click(FrmSelect12->Command1); }},
            {"folderS",
             [&] { click(Form1->CmdSld), s.Dir1.setPath(folder()), s.Text1.setText("5"); }},
            {"otherS", [&] { s.Dir1.setPath(folder()); }},
            {"repeat", [&] { s.Check1.setValue(1); }},
            {"random", [&] { s.Check2.setValue(1); }},
            {"fit", [&] { s.Check3.setValue(1); }},
            {"many", [&] {  // ">>" and "<<", arg times
                 for (int i = 0; i < arg.toInt(); ++i) click(Form1->CmdNext1), click(Form1->CmdPrev1);
             }},
            {"untick", [&] { click(s.Check1); }},
            {"interval", [&] { s.Text1.setText(arg); }},
            {"start", [&] { click(s.Command1); }},
            {"cancel", [&] { click(s.Command2); }},
            {"frame", [&] { chooser()->closeByFrame(); }},
            {"tick", tick},
            {"second", [] { QTest::qSleep(1000); }},
            {"paused", [] { Form1->CmdBrkSld.setCaption("再開"); }},
            {"key",  // to the picture, which hands it to its window; the text as Ctrl types it
             [k = QKeySequence::fromString(arg)[0]] {
                 QTest::sendKeyEvent(QTest::Click, FrmShow1->Picture1.widget(), k.key(),
                                     QChar(k.key() & 0x1f), k.keyboardModifiers());
             }},
            {"enterOn12", [] { key(Form1->CmdShow12, Qt::Key_Return); }},
            {"damage", [&] { writeFile(d.home() + "/" + arg + ".bmp", "BM cut short"); }},
            {"gridBackspace", [] { key(*FrmShow12, Qt::Key_Backspace); }},
            {"cell", [&] { click(*FrmShow12->Picture1[arg.toInt()]); }},
            {"close", [] { click(FrmShow1->Picture1); }},
            {"beside", [] { click(*FrmShow1, QPoint(2, 2)); }},
            {"destroyViewer", [] { FrmShow1->closeByFrame(); }},
            {"destroyGrid", [] { FrmShow12->closeByFrame(); }},
            {"allOn",
             [] {
                 for (auto* b : navigationButtons()) b->setEnabled(Module1.Next12Saved = true);
                 Module1.Prev12Saved = -1;
             }},
            {"showAll",
             [] { FrmSelect1->showWindow(), FrmSelect12->showWindow(), FrmShow12->showWindow(); }},
            {"mode1", [] { click(Form1->CmdShow1); }},
            {"modeS", [] { click(Form1->CmdSld); }},
            {"?hidden", [&] { QVERIFY(!chooser()->isShown()); }},
            {"?alone",  // with the control window, the chooser of mode 1, 12 or S
             [&] {
                 QVERIFY(chooser()->isShown() &&
                         std::ranges::count_if(QApplication::topLevelWidgets(),
                                               &QWidget::isVisible) == 2);
             }},
            {"?shows", [&] { QCOMPARE(viewerShows(), arg); }},
            {"?file", [&] { QCOMPARE(Module1.CurFile1, FrmSelect1->Dir1.path() + "/" + arg); }},
            {"?gone", [&] { QVERIFY(arg == "1" ? !FrmShow1.exists() : !FrmShow12.exists()); }},
            {"?over", [&] { QVERIFY(!FrmShow1->isShown() && !s.Timer1.running()); }},
            {"?dir", [&] { QCOMPARE(Module1.DirPathSld, s.File1.path() + "/"); }},
            {"?running", [&] { QVERIFY(s.Timer1.running()); }},
            {"?full",  // a full interval of the timer's present one
             [&] {
                 const int left = s.Timer1.remainingMilliseconds(), interval = s.Timer1.interval();
                 QVERIFY(left > interval - 500 && left <= interval);
             }},
            {"?saved",
             [&] { QCOMPARE(Module1.Next12Saved * 10 + Module1.Prev12Saved, arg.toInt()); }},
            {"?messages", [&] { QCOMPARE(std::exchange(d.messages, {}).size(), arg.toInt()); }},
            {"?selected", [&] { QCOMPARE(FrmSelect1->File1.selectedIndex(), arg.toInt()); }},
            {"?prev12off", [] { QVERIFY(!Form1->CmdPrev12.isEnabled()); }},
            {"?ahead", [&] { QCOMPARE(FrmShow1->DecodedAhead().join(',').replace(' ', '_'), arg); }},
            {"?nofailure",  // no page past the last is worked ahead: no failure is recorded
             [&] {
                 platform::WorkAhead::waitForAll();
                 QVERIFY(!QDirIterator(d.root() + "/cache", QDir::Files, QDirIterator::Subdirectories)
                              .hasNext());
             }}};
        QVERIFY2(kSteps.contains(name) || actions.contains(name), qPrintable(word));
        kSteps.contains(name) ? click(*navigationButtons()[kSteps.indexOf(name)]) : actions[name]();
        if (QTest::currentTestFailed())
            return qWarning("at %s of %s", qPrintable(word), qPrintable(words));
    }
}

// The index, the picture ("-": none), the timer, ">>" and "<<" (".." off), "停止"/"再開"
// (bracketed: off), "hidden" with the setup window.
QString showState() {
    const platform::Timer& timer = FrmSelectSld->Timer1;
    const auto on = [](auto& button, QString text) { return button.isEnabled() ? text : ".."; };
    const QString brk = Form1->CmdBrkSld.caption(), shows = viewerShows();
    return QString("%1 %2 %3 %4%5 %6%7")
        .arg(QString::number(Module1.CurIndexSld), shows.isEmpty() ? "-" : shows,
             timer.running() ? QString::number(timer.interval() / 1000.0) + "s" : "stopped",
             on(Form1->CmdNextSld, ">>"), on(Form1->CmdPrevSld, "<<"),
             Form1->CmdBrkSld.isEnabled() ? brk : "(" + brk + ")",
             FrmSelectSld->isShown() ? "" : " hidden");
}
}  // namespace

class NavigationTest : public DesktopTest {
    Q_OBJECT
private slots:
    // A state, an event, and the seven buttons afterwards (">>", "<<" of each mode, "停止"):
    // "+" on, "-" off, "=" as it was; these are set on in one run and off in the other, so that
    // one touched by mistake shows either way. The button the event presses is on beforehand.
    void enablingRules_data() {
        addRows(R"(
open the first of three       | file:3 select:0              | open   | +-===== | ?file:pic01.bmp ?ahead:pic02.bmp
open fitted: both steps ahead | fit file:3 select:1          | open   | ++===== | ?ahead:pic03.bmp_800x600,pic01.bmp_800x600
steps by the hundred, still ahead | fit file:3 select:1 open | many:50 | ++===== | ?ahead:pic03.bmp_800x600,pic01.bmp_800x600
a file previewed is ahead     | file:3                       | select:1 | ======= | ?ahead:pic02.bmp
open the last of three        | file:3 select:2              | open   | -+=====
Enter to the middle of three  | file:3 select:0 open         | key:Return | ++===== | ?shows:pic02.bmp key:Num+Enter ?shows:pic03.bmp
>> to the last of three       | file:3 select:1 open         | next1  | -+===== | ?file:pic03.bmp
Backspace to the first        | file:3 select:1 open         | key:Backspace | +-===== | ?shows:pic01.bmp
<< to the middle of three     | file:3 select:2 open         | prev1  | ++===== | ?shows:pic02.bmp
a held modifier and Ctrl+M/H do not step | file:3 select:1 open | key:Ctrl+Return | ======= | ?shows:pic02.bmp key:Alt+Return ?shows:pic02.bmp key:Ctrl+Backspace ?shows:pic02.bmp key:Ctrl+M ?shows:pic02.bmp key:Ctrl+H ?shows:pic02.bmp
file chooser closed by its frame | file:3 select:1 open      | frame:1 | ======= | ?hidden:1 ?selected:1 ?shows:pic02.bmp
first page of 12              | folder12:12                  | show12 | ==-====
thumbnail chooser closed by its frame | folder12:13          | frame:12 | ======= | ?hidden:12
>> to page 2 of 24            | folder12:24 show12           | next12 | ==-+=== | ?nofailure
back on page 1, a thumbnail keeps << off | folder12:25 show12 next12 cell:0 close | gridBackspace | ==+-=== | ?saved:10 cell:0 close ?prev12off
thumbnail on page 2 of 37     | folder12:37 show12 next12    | cell:0 | ==--=== | ?saved:9 ?shows:pic13.bmp
thumbnail that cannot be shown | folder12:25 damage:p25/pic14 show12 next12 | cell:1 | ==++=== | ?messages:2 ?shows:
thumbnail on the only page    | folder12:5 show12            | cell:4 | ==--=== | ?saved:0
viewer closed over page 2     | folder12:37 show12 next12 cell:0 | close | --++---
viewer closed beside it       | folder12:25 show12 cell:0    | beside | --+=---
viewer closed during a show   | folderS:3 start tick         | close  | --==--- | ?over
viewer destroyed selects the fourth | file:5 select:0 open | destroyViewer | ------- | ?selected:3 ?file:pic04.bmp
viewer destroyed, three files | file:3 select:1 open         | destroyViewer | ------- | ?selected:1 ?file:pic02.bmp
viewer destroyed during a show | folderS:3 start tick        | destroyViewer | ------- | ?gone:1 ?over
grid destroyed on page 2      | folder12:37 show12 next12    | destroyGrid | ------= | ?gone:12 ?saved:0
show started after a paused one | folderS:3 paused           | start  | ====+-+ | ?running
tick at the last, no repeat   | folderS:2 start tick         | tick   | =====-- | ?over
<< to the middle of three     | folderS:3 start tick tick    | prevS  | ====++= | ?shows:pic02.bmp
>> on the last slide ends it  | folderS:2 start tick         | nextS  | =====-= | ?over
<< on the first slide ends it | folderS:2 start              | prevS  | ====-== | ?over
stop turns every step off     | folderS:3 start tick allOn   | brk    | ------= | ?saved:0 ?shows:pic02.bmp
mode 1: its chooser alone     | folderS:3 start tick showAll allOn | mode1 | ------- | ?over ?alone:1 ?saved:0
mode 12 by Enter: its chooser alone | folderS:3 start tick showAll allOn | enterOn12 | ------- | ?over ?alone:12 ?saved:0
mode S: its chooser alone     | folderS:3 start tick showAll allOn | modeS | ------- | ?over ?alone:S ?saved:0
)",
                {"setUp", "event", "buttons", "checks"}, {" / others on", " / others off"});
    }
    void enablingRules() {
        const auto [setUp, event, buttons, checks] = fetch("setUp", "event", "buttons", "checks");
        const bool othersOn = QString(QTest::currentDataTag()).endsWith(" on");
        run(*desktop, setUp);
        const auto all = navigationButtons();
        const auto was = [&](int i) { return othersOn || event == kSteps[i]; };
        for (int i = 0; i < 7; ++i)
            if (buttons[i] == '=') all[i]->setEnabled(was(i));
        QString caption = event == "start" || !othersOn ? "停止" : "再開";
        if (event == "brk") caption = Form1->CmdBrkSld.caption() == "停止" ? "再開" : "停止";
        if (event != "brk" && event != "start") Form1->CmdBrkSld.setCaption(caption);
        run(*desktop, event);
        for (int i = 0; i < 7; ++i)
            QVERIFY2(all[i]->isEnabled() == (buttons[i] == '=' ? was(i) : buttons[i] == '+'),
                     qPrintable(kSteps[i]));
        QCOMPARE(Form1->CmdBrkSld.caption(), caption);
        run(*desktop, checks);
    }
    // A show started as the set-up says, then steps: "actions: the state after them; ...".
    void course_data() {
        addRows(R"(
one picture, repeat                | folderS:1 repeat | start: 0 pic01.bmp 5s .... 停止; tick: 0 pic01.bmp 5s .... 停止
repeat unticked in the second pass | folderS:2 repeat | start tick tick: 0 pic01.bmp 5s >>.. 停止; untick tick: 1 pic02.bmp 5s ..<< 停止; tick: 1 - stopped .... (停止); tick: 1 - stopped .... (停止)
a step by hand, a full interval on  | folderS:3 interval:60 | start second nextS ?full: 1 pic02.bmp 60s >><< 停止; second prevS ?full: 0 pic01.bmp 60s >>.. 停止
steps by hand                      | folderS:3        | start ?dir nextS: 1 pic02.bmp 5s >><< 停止; prevS: 0 pic01.bmp 5s >>.. 停止; key:Return key:Return key:Return: 2 pic03.bmp 5s ..<< 停止; key:Backspace: 1 pic02.bmp 5s >><< 停止
stop and resume on the last slide  | folderS:2 repeat | start tick brk: 1 pic02.bmp stopped .... 再開; tick: 1 pic02.bmp stopped .... 再開; brk: 1 pic02.bmp 5s .... 停止; tick: 0 pic01.bmp 5s >>.. 停止
repeat on a folder without pictures | folderS:2 repeat | start otherS:0 tick: 1 pic02.bmp 5s ..<< 停止; tick: 1 - stopped .... (停止)
repeat on another folder           | folderS:2 repeat | start otherS:3 tick tick: 0 pic01.bmp 5s >>.. 停止; tick: 1 pic02.bmp 5s >><< 停止
repeat without an interval ticks no more | folderS:2 repeat | start interval tick tick: 0 pic01.bmp 0s >>.. 停止; tick: 0 pic01.bmp 0s >>.. 停止; nextS: 1 pic02.bmp 0s ..<< 停止
cancel hides the setup window only | folderS:3        | start cancel: 0 pic01.bmp 5s >>.. 停止 hidden; tick: 1 pic02.bmp 5s >><< 停止 hidden
its frame hides the setup window only | folderS:3      | start frame:S: 0 pic01.bmp 5s >>.. 停止 hidden; tick: 1 pic02.bmp 5s >><< 停止 hidden
started again while paused         | folderS:3        | start tick brk interval:2.5: 1 pic02.bmp stopped .... 再開; start: 0 pic01.bmp 2.5s >>.. 停止
started again with a shorter interval | folderS:3 interval:60 | start tick interval:1 start ?full: 0 pic01.bmp 1s >>.. 停止
)",
                {"setUp", "steps"});
    }
    void course() {
        const auto [setUp, steps] = fetch("setUp", "steps");
        run(*desktop, setUp);
        for (const QString& step : steps.split("; ")) {
            run(*desktop, step.section(": ", 0, 0));
            QCOMPARE(showState(), step.section(": ", 1));
        }
    }
    // Put in whole, or typed key by key where "typed" gives the text after each key ("_": blank).
    void interval_data() {
        addRows(R"(
1                      | 1       |          | 1000
0.9                    | 0.9     |          |
blanks first           | _\t3    |          | 3000
a sign                 | +4      |          | 4000
a lone point           | .       |          |
a signed exponent      | 6E+1    |          | 60000
e without digits       | 12e     |          | 12000
half to even, down     | 1.0625  |          | 1062
half to even, up       | 1.1875  |          | 1188
trailing full-width    | 5５     |          | 5000
2.5 under a decimal comma | 2.5  |          | 2500
2,5 under a decimal comma | 2,5  |          | 2000
typed 1.5              | 1.5     | 1 1. 1.5 | 1500
typed 605              | 605     | 6 60 _   |
typed 5秒              | 5秒     | 5 5秒    | 5000
)",
                {"text", "typed", "milliseconds"});
    }
    void interval() {
        auto [text, typed, milliseconds] = fetch("text", "typed", "milliseconds");
        text.replace('_', ' ').replace("\\t", "\t");
        QLocale::setDefault(
            QLocale(QString(QTest::currentDataTag()).contains("comma") ? "de_DE" : "C"));
        run(*desktop, "folderS:2"), setup().Text1.setText(typed.isEmpty() ? text : QString());
        const QStringList after = typed.isEmpty() ? QStringList{milliseconds.isEmpty() ? "" : text}
                                                  : typed.split(' ').replaceInStrings("_", "");
        for (int i = 0; i < after.size(); ++i) {
            const char16_t c = text[i].toUpper().unicode();
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {  // a key or an IME's text
                QKeyEvent event(type, c < 128 ? c : int(Qt::Key_unknown), {}, QString(text[i]));
                if (!typed.isEmpty()) QApplication::sendEvent(setup().Text1.widget(), &event);
            }
            QCOMPARE(setup().Text1.text(), after[i]);
            QCOMPARE(setup().Command1.caption() + QString::number(setup().Command1.isEnabled()),
                     after[i].isEmpty() ? "値が不正です。0" : "スライドショー1");
        }
        if (milliseconds.isEmpty()) return;
        click(setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds.toInt());
        QVERIFY(setup().Timer1.running());
    }
    // A tick while a "Load Error" is open comes once the box has closed, never inside; nor inside
    // a second box (here "Drive is not ready.") that opens before it came, but once that closes.
    void aTickWhileAMessageIsOpenWaitsForTheBoxes() {
        const QString usb = desktop->addDrive("usb");
        run(*desktop, "folderS:3 damage:p3/pic02 start");
        QVERIFY(QDir(usb).removeRecursively());
        int boxes = 0;
        desktop->whileMessageOpen = [&boxes] {
            QCoreApplication::processEvents();  // as the box's own loop does
            if (++boxes == 1) tick();           // inside the handler it does not step
        };
        tick();
        QVERIFY(desktop->shownOnce("Load Error", "pic02.bmp"));
        setup().Drive1.setDrive(usb);
        QVERIFY(desktop->shownOnce("Read Error.") && Module1.CurIndexSld == 1);
        QCoreApplication::processEvents(), QCoreApplication::processEvents();
        QCOMPARE(viewerShows(), QString("pic03.bmp"));  // a second tick would end the show
        desktop->whileMessageOpen = [] { Form1->closeByFrame(); };  // closed once the box is
        setup().Drive1.setDrive(desktop->root()), setup().Drive1.setDrive(usb);
        QVERIFY(desktop->shownOnce("Read Error.") && !desktop->ended);
        QTRY_VERIFY(desktop->ended);
    }
    // Draws 0, 2, 1, 0 from a pool kept in list order give 1 4 3 2; unticked, the list order.
    void randomOrder() {
        uint64_t seed = 0;
        for (QList<int> draws; draws != QList<int>{0, 2, 1, 0};) {
            RandomFraction generator(++seed);
            draws.clear();
            for (int left = 4; left >= 1; --left) draws << int(std::floor(generator.next() * left));
        }
        setup().Random().seed(seed), run(*desktop, "folderS:4 repeat random start");
        const QStringList drawn{"pic01.bmp", "pic04.bmp", "pic03.bmp", "pic02.bmp"};
        QCOMPARE(showOrder(), drawn);
        click(setup().Check2), tick(), tick(), tick();
        QCOMPARE(showOrder(), drawn);
        tick();
        QCOMPARE(showOrder().join(' '), "pic01.bmp pic02.bmp pic03.bmp pic04.bmp");
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
