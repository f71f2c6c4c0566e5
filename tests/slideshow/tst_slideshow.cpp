// The slideshow: the interval box, the show's course tick by tick, the fresh interval after a
// step by hand, a tick that falls while a message box is open, and the random order. Ticks are
// fired directly; only the fresh interval is timed.
#include <malloc.h>

#include <set>

#include "tests/support/desktop.h"

namespace {
const QString kStart = QStringLiteral("スライドショー"),
              kInvalid = QStringLiteral("値が不正です。");
SlideshowSetup& setup() { return *FrmSelectSld; }

// The show at a glance: the index, the picture on show ("-": none), the running timer's interval
// in seconds, ">>" and "<<" (".." off), "停止"/"再開" (in brackets: off), "hidden" while the
// setup window is.
QString showState() {
    const platform::Timer& timer = setup().Timer1;
    QStringList state{
        QString::number(Module1.CurIndexSld), viewerShows().isEmpty() ? "-" : viewerShows(),
        timer.running() ? QString::number(timer.interval() / 1000.0) + "s" : "stopped",
        QString(Form1->CmdNextSld.isEnabled() ? ">>" : "..") +
            (Form1->CmdPrevSld.isEnabled() ? "<<" : ".."),
        Form1->CmdBrkSld.isEnabled() ? Form1->CmdBrkSld.caption()
                                     : "(" + Form1->CmdBrkSld.caption() + ")"};
    if (!setup().isShown()) state << "hidden";
    return state.join(' ');
}

QStringList showOrder() {
    return QStringList(Module1.FileListSld.begin(), Module1.FileListSld.end() - 1);
}
}  // namespace

class SlideshowTest : public DesktopTest {
    Q_OBJECT
private slots:
    // Put in whole (pasted, restored at start-up) or typed key by key (checked after each key;
    // a character without a key comes as an input method delivers it): the text the box keeps,
    // and the milliseconds a start gives the timer, a half to the even one.
    void interval_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("kept");  // after each key; whole: one text
        QTest::addColumn<int>("milliseconds");  // -1: no start
        using L = QStringList;
        const auto whole = [](const char* name, const QString& text, int ms,
                              const char* locale = "C") {
            QTest::newRow(name) << text << false << locale << L{ms < 0 ? "" : text} << ms;
        };
        whole("1", "1", 1000), whole("60", "60", 60000), whole("0.9", "0.9", -1);
        whole("60.5", "60.5", -1), whole("empty", "", -1), whole("-5", "-5", -1);
        whole("blanks first", " \t3", 3000), whole("a sign", "+4", 4000);
        whole("a point last", "7.", 7000), whole("a lone point", ".", -1);
        whole("a fraction only", ".5", -1), whole("two points", "1.2.3", 1200);
        whole("an exponent", "1e1", 10000), whole("a signed exponent", "6E+1", 60000);
        whole("an exponent too far", "1e3", -1), whole("e without digits", "12e", 12000);
        whole("half to even, down", "1.0625", 1062), whole("half to even, up", "1.1875", 1188);
        whole("full-width digits", "５", -1), whole("trailing full-width", "5５", 5000);
        whole("trailing text", "12abc", 12000);
        whole("too large to hold", QString(400, '9'), -1), whole("too small", "1e-400", -1);
        whole("a decimal comma locale", "2.5", 2500, "de_DE");
        whole("a comma in that locale", "2,5", 2000, "de_DE");
        QTest::newRow("typed 1.5") << "1.5" << true << "C" << L{"1", "1.", "1.5"} << 1500;
        QTest::newRow("typed 0") << "0" << true << "C" << L{""} << -1;
        QTest::newRow("typed 605") << "605" << true << "C" << L{"6", "60", ""} << -1;
        QTest::newRow("typed 5秒") << "5秒" << true << "C" << L{"5", "5秒"} << 5000;
        QTest::newRow("typed blank 3") << " 3" << true << "C" << L{"", "3"} << 3000;
    }
    void interval() {
        QFETCH(QString, text);
        QFETCH(bool, typed);
        QFETCH(QString, locale);
        QFETCH(QStringList, kept);
        QFETCH(int, milliseconds);
        QLocale::setDefault(QLocale(locale));
        writePictures(pics, 2);
        click(Form1->CmdSld);
        setup().Dir1.setPath(pics);
        setup().Text1.setText(QString());
        for (int i = 0; i < kept.size(); ++i) {
            if (!typed) {
                setup().Text1.setText(text);
            } else if (text[i].unicode() < 128) {
                QTest::keyClick(setup().Text1.widget(), text[i].toLatin1());
            } else {
                for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, QString(text[i]));
                    QApplication::sendEvent(setup().Text1.widget(), &event);
                }
            }
            QCOMPARE(setup().Text1.text(), kept[i]);
            QCOMPARE(setup().Command1.caption(), kept[i].isEmpty() ? kInvalid : kStart);
            QCOMPARE(setup().Command1.isEnabled(), !kept[i].isEmpty());
        }
        QLocale::setDefault(QLocale::c());
        if (milliseconds < 0) return;
        click(setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds);
        QVERIFY(setup().Timer1.running());
    }

    // A show on n pictures, with repeat or not, then "action: the state after it". Actions:
    // started, tick, >>, <<, 停止 (whatever it reads), Enter on the viewer, and in the setup
    // window: untick repeat, cancel, "folder n" (n pictures elsewhere), "interval t", start.
    void course_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QStringList>("steps");
        using L = QStringList;
        QTest::newRow("one picture")
            << 1 << 0 << L{"started: 0 pic01.bmp 5s .... 停止", "tick: 0 - stopped .... (停止)"};
        QTest::newRow("one picture, repeat")
            << 1 << 1 << L{"started: 0 pic01.bmp 5s .... 停止", "tick: 0 pic01.bmp 5s .... 停止"};
        QTest::newRow("two pictures")
            << 2 << 0
            << L{"started: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止",
                 "tick: 1 - stopped .... (停止)", "tick: 1 - stopped .... (停止)"};
        QTest::newRow("repeat unticked in the second pass")
            << 2 << 1
            << L{"tick: 1 pic02.bmp 5s ..<< 停止", "tick: 0 pic01.bmp 5s >>.. 停止",
                 "untick repeat: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止",
                 "tick: 1 - stopped .... (停止)"};
        QTest::newRow("steps by hand")
            << 3 << 0 << L{">>: 1 pic02.bmp 5s >><< 停止",    "<<: 0 pic01.bmp 5s >>.. 停止",
                           "Enter: 1 pic02.bmp 5s >><< 停止", "Enter: 2 pic03.bmp 5s ..<< 停止",
                           "Enter: 2 pic03.bmp 5s ..<< 停止", "tick: 2 - stopped .... (停止)"};
        for (int repeat : {0, 1}) {
            QTest::addRow("stop and resume on the last slide, repeat %d", repeat)
                << 2 << repeat
                << L{"tick: 1 pic02.bmp 5s ..<< 停止", "停止: 1 pic02.bmp stopped .... 再開",
                     "tick: 1 pic02.bmp stopped .... 再開", "停止: 1 pic02.bmp 5s .... 停止",
                     repeat ? "tick: 0 pic01.bmp 5s >>.. 停止" : "tick: 1 - stopped .... (停止)"};
        }
        QTest::newRow("repeat on a folder without pictures")
            << 2 << 1
            << L{"folder 0: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止",
                 "tick: 1 - stopped .... (停止)"};
        QTest::newRow("repeat on another folder")
            << 2 << 1
            << L{"folder 3: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止",
                 "tick: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s >><< 停止"};
        QTest::newRow("repeat without an interval ticks no more")
            << 2 << 1
            << L{"interval : 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止",
                 "tick: 0 pic01.bmp 0s >>.. 停止", "tick: 0 pic01.bmp 0s >>.. 停止",
                 ">>: 1 pic02.bmp 0s ..<< 停止"};
        QTest::newRow("cancel hides the setup window only")
            << 3 << 0
            << L{"cancel: 0 pic01.bmp 5s >>.. 停止 hidden",
                 "tick: 1 pic02.bmp 5s >><< 停止 hidden"};
        QTest::newRow("started again while paused")
            << 3 << 0
            << L{"tick: 1 pic02.bmp 5s >><< 停止", "停止: 1 pic02.bmp stopped .... 再開",
                 "interval 2.5: 1 pic02.bmp stopped .... 再開",
                 "start: 0 pic01.bmp 2.5s >>.. 停止"};
    }
    void course() {
        QFETCH(int, files);
        QFETCH(int, repeat);
        QFETCH(QStringList, steps);
        const QString folder = desktop->folder("home/show", files);
        startShow(folder, "5", repeat);
        QCOMPARE(Module1.DirPathSld, folder + "/");
        QCOMPARE(showOrder(), QStringList({"pic01.bmp", "pic02.bmp", "pic03.bmp"}).mid(0, files));
        const QMap<QString, std::function<void()>> actions = {
            {"started", [] {}},
            {"tick", tick},
            {">>", [] { click(Form1->CmdNextSld); }},
            {"<<", [] { click(Form1->CmdPrevSld); }},
            {"停止", [] { click(Form1->CmdBrkSld); }},
            {"Enter", [] { key(*FrmShow1, Qt::Key_Return); }},
            {"untick repeat", [] { click(setup().Check1); }},
            {"cancel", [] { click(setup().Command2); }},
            {"start", [] { click(setup().Command1); }}};
        for (const QString& step : steps) {
            const QString action = step.section(": ", 0, 0), expected = step.section(": ", 1);
            if (action.startsWith("interval ")) {
                setup().Text1.setText(action.mid(9));
            } else if (action.startsWith("folder ")) {
                setup().Dir1.setPath(desktop->folder("home/other", action.mid(7).toInt()));
            } else {
                QVERIFY2(actions.contains(action), qPrintable(action));
                actions[action]();
            }
            QVERIFY2(showState() == expected, qPrintable(step + "  but got  " + showState()));
        }
    }

    // ">>" and "<<" start a fresh interval: the time to the next tick is full again.
    void aStepByHandStartsAFreshInterval() {
        constexpr int kInterval = 60000, kWaited = 1000;
        startShow(desktop->folder("home/show", 3), "60");
        for (auto* button : {&Form1->CmdNextSld, &Form1->CmdPrevSld}) {
            QTest::qSleep(kWaited);
            QVERIFY(setup().Timer1.remainingMilliseconds() <= kInterval - kWaited);
            click(*button);
            QVERIFY(setup().Timer1.remainingMilliseconds() > kInterval - kWaited / 2);
        }
        QCOMPARE(Module1.CurIndexSld, int16_t(0));
    }

    // A tick that falls while a "Load Error" is open waits for the box to close, then comes
    // once, never inside the handler; timers that are gone leave no callback behind.
    void aTickWhileAMessageIsOpenWaitsForTheBox() {
        const QString folder = desktop->folder("home/show", 3);
        writeFile(folder + "/pic02.bmp", "not a picture at all");
        startShow(folder);
        int stepsInside = -1;
        desktop->whileMessageOpen = [&] {
            const int before = Module1.CurIndexSld;
            tick();
            stepsInside = Module1.CurIndexSld - before;
        };
        tick();
        QVERIFY(desktop->shownOnce("Load Error", "pic02.bmp"));
        QCOMPARE(stepsInside, 0);
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        desktop->whileMessageOpen = nullptr;
        QCoreApplication::processEvents();
        QCOMPARE(viewerShows(), QString("pic03.bmp"));
        QCoreApplication::processEvents();
        QCOMPARE(Module1.CurIndexSld, int16_t(2));

        const auto inUse = [] { return qint64(mallinfo2().uordblks); };
        for (int i = 0; i < 100; ++i) platform::Timer warmUp;
        const qint64 before = inUse();
        for (int i = 0; i < 10000; ++i) platform::Timer gone;
        QVERIFY2(inUse() - before < 64 * 1024, qPrintable(QString::number(inUse() - before)));
    }

    // Known draws, through a seed that yields them: the order a draw without replacement from a
    // pool kept in list order gives.
    void randomOrder_data() {
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("order");
        QTest::newRow("always the last entry") << QList<int>{2, 1, 0} << "cba";
        QTest::newRow("entry 0, then the last ones") << QList<int>{0, 2, 1, 0} << "adcb";
        QTest::newRow("a middle entry, then entry 0") << QList<int>{1, 0, 0} << "bac";
    }
    void randomOrder() {
        QFETCH(QList<int>, draws);
        QFETCH(QString, order);
        uint64_t seed = 0;
        for (QList<int> got; got != draws;) {
            RandomFraction generator(++seed);
            got.clear();
            for (int left = int(draws.size()); left >= 1; --left)
                got << int(std::floor(generator.next() * left));
        }
        QStringList names, expected;
        for (int i = 0; i < order.size(); ++i) {
            names << QString(QChar('a' + i)) + ".bmp";
            expected << QString(order[i]) + ".bmp";
            writePicture(pics + "/" + names.last(), 4, 3);
        }
        setup().Random().seed(seed);
        startShow(pics, "5", 1, 1);
        QCOMPARE(showOrder(), expected);
        QCOMPARE(viewerShows(), expected[0]);
        // With repeat every pass is a new permutation; unticked, random counts from the next.
        std::set<QStringList> orders;
        for (int pass = 0; pass < 30; ++pass, orders.insert(showOrder())) {
            QStringList sorted = showOrder();
            QCOMPARE(viewerShows(), sorted[0]);
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(sorted, names);
            for (int i = 0; i < names.size(); ++i) tick();
        }
        QVERIFY(orders.size() > 4);
        click(setup().Check2);
        const QStringList current = showOrder();
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(showOrder(), current);
            tick();
        }
        QCOMPARE(showOrder(), names);
    }
};

QTEST_MAIN(SlideshowTest)
#include "tst_slideshow.moc"
