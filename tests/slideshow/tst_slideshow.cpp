// The slideshow: its start, the timer's ticks, the end of a pass with and without repeat, the
// control window's steps, pause and resume, and the random order. Ticks are mostly fired
// directly; the fresh interval after a step by hand is timed for real.
#include <map>
#include <set>

#include "tests/support/fixture.h"

namespace {
SlideshowSetup& setup() { return *FrmSelectSld; }

// The show at a glance: the index, the picture on show ("-": none), the running timer's interval
// in seconds, ">>" and "<<" ("..": disabled), "停止"/"再開" (in brackets: disabled), and "hidden"
// while the setup window is not on screen.
QString showState() {
    const platform::Timer& timer = setup().Timer1;
    QStringList state{QString::number(Module1.CurIndexSld), viewerShows().isEmpty() ? "-" : viewerShows(),
                      timer.running() ? QString::number(timer.interval() / 1000.0) + "s" : "stopped",
                      QString(Form1->CmdNextSld.isEnabled() ? ">>" : "..") + (Form1->CmdPrevSld.isEnabled() ? "<<" : ".."),
                      Form1->CmdBrkSld.isEnabled() ? Form1->CmdBrkSld.caption() : "(" + Form1->CmdBrkSld.caption() + ")"};
    if (!setup().isVisible()) state << "hidden";
    return state.join(' ');
}

QStringList showOrder() {
    QStringList order;
    for (int i = 0; i < Module1.FileCountSld; ++i) order << Module1.FileListSld[i];
    return order;
}

// "a.bmp", "b.bmp" ... for the letters; "-" stands for an empty entry.
QStringList files(const QString& letters) {
    QStringList names;
    for (QChar c : letters) names << (c == '-' ? QString() : QString(c) + ".bmp");
    return names;
}
}  // namespace

class SlideshowTest : public DesktopTest {
    Q_OBJECT
    QString pictures(int n) { return desktop->folderWith("home/show", n); }

private slots:
    // A show started on a folder with repeat or not, then steps "action: the state after it".
    // Actions: "started" (none), tick, the control window's >>, << and 停止 (whatever it reads),
    // Enter on the viewer, and in the setup window: untick repeat, cancel, "folder n" (another
    // folder of n pictures new01.bmp ...), "interval t", start.
    void showScenarios_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("one picture") << 1 << 0
            << QStringList{"started: 0 pic01.bmp 5s .... 停止", "tick: 0 - stopped .... (停止)"};
        QTest::newRow("one picture, repeat") << 1 << 1
            << QStringList{"started: 0 pic01.bmp 5s .... 停止", "tick: 0 pic01.bmp 5s .... 停止"};
        QTest::newRow("two pictures") << 2 << 0 << QStringList{
            "started: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)",
            "tick: 1 - stopped .... (停止)"};
        QTest::newRow("repeat unticked in the second pass") << 2 << 1 << QStringList{
            "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 0 pic01.bmp 5s >>.. 停止", "untick repeat: 0 pic01.bmp 5s >>.. 停止",
            "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)"};
        QTest::newRow("steps by hand") << 3 << 0 << QStringList{
            ">>: 1 pic02.bmp 5s >><< 停止", "<<: 0 pic01.bmp 5s >>.. 停止", "Enter: 1 pic02.bmp 5s >><< 停止",
            "Enter: 2 pic03.bmp 5s ..<< 停止", "Enter: 2 pic03.bmp 5s ..<< 停止", "tick: 2 - stopped .... (停止)"};
        for (int repeat : {0, 1}) {
            QTest::addRow("stop and resume on the last slide, repeat %d", repeat) << 2 << repeat << QStringList{
                "tick: 1 pic02.bmp 5s ..<< 停止", "停止: 1 pic02.bmp stopped .... 再開",
                "tick: 1 pic02.bmp stopped .... 再開", "停止: 1 pic02.bmp 5s .... 停止",
                repeat ? "tick: 0 pic01.bmp 5s >>.. 停止" : "tick: 1 - stopped .... (停止)"};
        }
        QTest::newRow("restart on a folder without pictures") << 2 << 1 << QStringList{
            "folder 0: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 1 - stopped .... (停止)"};
        QTest::newRow("restart on another folder") << 2 << 1 << QStringList{
            "folder 3: 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 0 new01.bmp 5s >>.. 停止"};
        QTest::newRow("restart without an interval ticks no more") << 2 << 1 << QStringList{
            "interval : 0 pic01.bmp 5s >>.. 停止", "tick: 1 pic02.bmp 5s ..<< 停止", "tick: 0 pic01.bmp 0s >>.. 停止",
            "tick: 0 pic01.bmp 0s >>.. 停止", ">>: 1 pic02.bmp 0s ..<< 停止"};
        QTest::newRow("cancel hides the setup window only") << 3 << 0 << QStringList{
            "cancel: 0 pic01.bmp 5s >>.. 停止 hidden", "tick: 1 pic02.bmp 5s >><< 停止 hidden"};
        QTest::newRow("started again while paused") << 3 << 0 << QStringList{
            "tick: 1 pic02.bmp 5s >><< 停止", "停止: 1 pic02.bmp stopped .... 再開",
            "interval 2.5: 1 pic02.bmp stopped .... 再開", "start: 0 pic01.bmp 2.5s >>.. 停止"};
    }
    void showScenarios() {
        QFETCH(int, files);
        QFETCH(int, repeat);
        QFETCH(QStringList, steps);
        startShow(pictures(files), "5", repeat);
        QCOMPARE(Module1.DirPathSld, desktop->home() + "/show/");
        QCOMPARE(showOrder(), QStringList({"pic01.bmp", "pic02.bmp", "pic03.bmp"}).mid(0, files));
        QVERIFY(Module1.FileListSld[files].isEmpty());
        const QMap<QString, std::function<void()>> actions = {
            {"started", [] {}},
            {"tick", tick},
            {">>", [] { click(&Form1->CmdNextSld); }},
            {"<<", [] { click(&Form1->CmdPrevSld); }},
            {"停止", [] { click(&Form1->CmdBrkSld); }},
            {"Enter", [] { QTest::keyClick(FrmShow1.get(), Qt::Key_Return); }},
            {"untick repeat", [] { click(&setup().Check1); }},
            {"cancel", [] { click(&setup().Command2); }},
            {"start", [] { click(&setup().Command1); }}};
        for (const QString& step : steps) {
            const QString action = step.section(": ", 0, 0), expected = step.section(": ", 1);
            if (action.startsWith("interval ")) {
                setup().Text1.setText(action.mid(9));
            } else if (action.startsWith("folder ")) {
                TestDesktop::writePictures(desktop->folder("home/other"), action.mid(7).toInt(), "new", 4, 3);
                setup().Dir1.setPath(desktop->home() + "/other");
            } else {
                QVERIFY2(actions.contains(action), qPrintable(action));
                actions[action]();
            }
            QVERIFY2(showState() == expected, qPrintable(step + "  but got  " + showState()));
        }
    }

    // ">>" and "<<" start a fresh interval: the time to the next tick is full again.
    void aStepByHandStartsAFreshInterval() {
        constexpr int kInterval = 60000, kWaited = 2000, kSlack = 1000;
        startShow(pictures(3), "60");
        QTest::qWait(kWaited);
        QVERIFY(setup().Timer1.remainingMilliseconds() <= kInterval - kWaited);
        click(&Form1->CmdNextSld);
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QVERIFY(setup().Timer1.remainingMilliseconds() >= kInterval - kSlack);
        QTest::qWait(kWaited);
        click(&Form1->CmdPrevSld);
        QCOMPARE(Module1.CurIndexSld, int16_t(0));
        QVERIFY(setup().Timer1.remainingMilliseconds() >= kInterval - kSlack);
    }

    // A picture that cannot be loaded is reported in a message box; a tick that falls while the
    // box is open waits for it to close and then comes once, never inside the handler.
    void aTickWhileALoadErrorIsOpenWaitsForTheBox() {
        const QString folder = pictures(3);
        TestDesktop::writeFile(folder + "/pic02.bmp", "not a picture at all");
        startShow(folder);
        int stepsInsideTheBox = -1;
        desktop->whileMessageOpen = [&] {
            const int16_t before = Module1.CurIndexSld;
            tick();
            stepsInsideTheBox = Module1.CurIndexSld - before;
        };
        tick();
        QVERIFY(desktop->shownOnce("Load Error", "pic02.bmp"));
        QCOMPARE(stepsInsideTheBox, 0);
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QVERIFY(setup().Timer1.running());
        desktop->whileMessageOpen = nullptr;
        QCoreApplication::processEvents();
        QCOMPARE(Module1.CurIndexSld, int16_t(2));
        QCOMPARE(viewerShows(), QString("pic03.bmp"));
        QCoreApplication::processEvents();
        QCOMPARE(Module1.CurIndexSld, int16_t(2));
    }

    // With repeat, every pass is a new permutation shown from its first entry; the random box,
    // unticked, counts only from the next pass.
    void randomOrderIsANewPermutationEveryPass() {
        const QStringList names = TestDesktop::writePictures(desktop->folder("home/show"), 6, "pic", 4, 3);
        setup().Random().seed(7);
        startShow(desktop->home() + "/show", "5", 1, 1);
        std::set<QStringList> orders;
        for (int pass = 0; pass < 100; ++pass) {
            QCOMPARE(int(Module1.FileListSld.size()), 7);
            QCOMPARE(int(Module1.SldPool.size()), 7);
            QVERIFY(Module1.FileListSld[6].isEmpty());
            QStringList order = showOrder();
            QCOMPARE(viewerShows(), order[0]);
            orders.insert(order);
            std::sort(order.begin(), order.end());
            QCOMPARE(order, names);
            for (int i = 0; i < 6; ++i) tick();
        }
        QVERIFY(orders.size() > 50);
        const QStringList current = showOrder();
        click(&setup().Check2);
        for (int i = 0; i < 5; ++i) tick();
        QCOMPARE(showOrder(), current);
        QCOMPARE(viewerShows(), current[5]);
        tick();
        QCOMPARE(showOrder(), names);
    }

    // Known draws, through a seed that yields them: drawing the pool's last entry moves nothing,
    // drawing any other closes the gap, keeping list order and leaving a stale copy behind.
    void randomDrawsMoveThePoolAsExpected_data() {
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("poolAfter");
        QTest::newRow("always the last entry") << QList<int>{2, 1, 0} << "cba" << "abc-";
        QTest::newRow("entry 0, then the last ones") << QList<int>{0, 2, 1, 0} << "adcb" << "bcdd-";
        QTest::newRow("a middle entry, then entry 0") << QList<int>{1, 0, 0} << "bac" << "ccc-";
    }
    void randomDrawsMoveThePoolAsExpected() {
        QFETCH(QList<int>, draws);
        QFETCH(QString, order);
        QFETCH(QString, poolAfter);
        const int n = int(draws.size());
        uint64_t seed = 0;
        for (QList<int> got; got != draws;) {
            RandomFraction generator(++seed);
            got.clear();
            for (int left = n; left >= 1; --left) got << int(std::floor(generator.next() * left));
        }
        const QString folder = desktop->folder("home/show");
        for (const QString& name : files(order)) TestDesktop::writePicture(folder + "/" + name, 4, 3);
        setup().Random().seed(seed);
        startShow(folder, "5", 0, 1);
        QCOMPARE(showOrder(), files(order));
        QCOMPARE(QStringList(Module1.SldPool.begin(), Module1.SldPool.end()), files(poolAfter));
        QCOMPARE(viewerShows(), files(order)[0]);
    }

    // Each of the six orders of three comes about as often.
    void randomOrderIsRoughlyUniform() {
        startShow(pictures(3), "5", 0, 1);
        setup().Random().seed(20240601);
        std::map<QStringList, int> orders;
        for (int run = 0; run < 3000; ++run) {
            click(&setup().Command1);
            ++orders[showOrder()];
        }
        QCOMPARE(int(orders.size()), 6);
        for (const auto& [order, count] : orders) {
            QVERIFY2(count >= 400 && count <= 600, qPrintable(order.join(",") + QString(" %1 times").arg(count)));
        }
    }
};

QTEST_MAIN(SlideshowTest)
#include "tst_slideshow.moc"
