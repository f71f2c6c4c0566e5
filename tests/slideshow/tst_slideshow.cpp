// The slideshow: its start, the timer's ticks, the end of a pass with and without repeat, the
// control window's steps, pause and resume, and the random order. Ticks are fired directly.
#include <QApplication>
#include <algorithm>
#include <map>
#include <set>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {

QString pictures(TestDesktop& desktop, int n, const QString& name = "show") {
    const QString folder = desktop.folder("home/" + name);
    TestDesktop::writePictures(folder, n, "pic", 4, 3);
    return folder;
}

SlideshowSetup& setup() { return *FrmSelectSld; }
void tick() { FrmSelectSld->Timer1.fireTick(); }

// The user's way in: the mode button, a folder, the interval, the options, the start button.
void startShow(const QString& folder, const QString& interval = "5", int repeat = 0,
               int random = 0) {
    click(&Form1->CmdSld);
    setup().Dir1.setPath(folder);
    setup().Text1.setText(interval);
    setup().Check1.setValue(repeat);
    setup().Check2.setValue(random);
    click(&setup().Command1);
}

QString viewerShows() {
    return FrmShow1->isVisible() ? FrmShow1->caption().section(QLatin1Char(' '), -1) : QString();
}

// The state of a running show at one picture.
void verifyRunningAt(int index, const QString& name, int count) {
    QCOMPARE(Module1.CurIndexSld, int16_t(index));
    QCOMPARE(viewerShows(), name);
    QVERIFY(setup().Timer1.running());
    QCOMPARE(Form1->CmdNextSld.isEnabled(), index != count - 1);
    QCOMPARE(Form1->CmdPrevSld.isEnabled(), index != 0);
    QVERIFY(Form1->CmdBrkSld.isEnabled());
    QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
}

void verifyEnded() {
    QVERIFY(!FrmShow1->isVisible());
    QVERIFY(!setup().Timer1.running());
    QVERIFY(!Form1->CmdNextSld.isEnabled());
    QVERIFY(!Form1->CmdPrevSld.isEnabled());
    QVERIFY(!Form1->CmdBrkSld.isEnabled());
    QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
}

QStringList showOrder() {
    QStringList order;
    for (int i = 0; i < Module1.FileCountSld; ++i) order << Module1.FileListSld[i];
    return order;
}

// The pool indices the generator will draw for n files, seeded with seed.
QList<int> drawsFor(uint64_t seed, int n) {
    RandomFraction generator(seed);
    QList<int> draws;
    for (int left = n; left >= 1; --left) draws << int(std::floor(generator.next() * left));
    return draws;
}

}  // namespace

class SlideshowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        desktop->startProgram();
    }
    void cleanup() { desktop.reset(); }

    void onePicture_data() {
        QTest::addColumn<int>("repeat");
        QTest::newRow("without repeat") << 0;
        QTest::newRow("with repeat") << 1;
    }
    void onePicture() {
        QFETCH(int, repeat);
        startShow(pictures(*desktop, 1), "5", repeat);
        verifyRunningAt(0, "pic01.bmp", 1);
        QCOMPARE(setup().Timer1.interval(), 5000);
        tick();
        if (repeat) {
            verifyRunningAt(0, "pic01.bmp", 1);
        } else {
            verifyEnded();
            QVERIFY(setup().isVisible());  // the end neither shows nor hides the setup window
        }
    }

    void twoPicturesInListOrderWithoutRepeat() {
        startShow(pictures(*desktop, 2));
        QCOMPARE(Module1.DirPathSld, desktop->home() + "/show/");
        QCOMPARE(showOrder(), QStringList({"pic01.bmp", "pic02.bmp"}));
        QVERIFY(Module1.FileListSld[2].isEmpty());
        verifyRunningAt(0, "pic01.bmp", 2);
        tick();
        verifyRunningAt(1, "pic02.bmp", 2);
        tick();
        verifyEnded();
        tick();  // a stopped timer delivers nothing
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QVERIFY(!FrmShow1->isVisible());
    }

    // ">>" and "<<" step at once and start a fresh interval; the last picture, however it was
    // reached, stays until the next tick.
    void stepsByHandStartAFreshInterval() {
        startShow(pictures(*desktop, 3), "10");
        click(&Form1->CmdNextSld);
        verifyRunningAt(1, "pic02.bmp", 3);
        QCOMPARE(setup().Timer1.interval(), 10000);
        click(&Form1->CmdPrevSld);
        verifyRunningAt(0, "pic01.bmp", 3);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        verifyRunningAt(2, "pic03.bmp", 3);
        QCOMPARE(setup().Timer1.interval(), 10000);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);  // ">>" is off at the last picture
        verifyRunningAt(2, "pic03.bmp", 3);
        tick();
        verifyEnded();
    }

    void stopAndResumeOnTheLastSlide_data() {
        QTest::addColumn<int>("repeat");
        QTest::newRow("without repeat") << 0;
        QTest::newRow("with repeat") << 1;
    }
    void stopAndResumeOnTheLastSlide() {
        QFETCH(int, repeat);
        startShow(pictures(*desktop, 2), "5", repeat);
        tick();
        click(&Form1->CmdBrkSld);
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("再開"));
        QVERIFY(!setup().Timer1.running());
        QVERIFY(!Form1->CmdNextSld.isEnabled() && !Form1->CmdPrevSld.isEnabled());
        QCOMPARE(viewerShows(), QString("pic02.bmp"));
        tick();  // no tick while paused
        QCOMPARE(Module1.CurIndexSld, int16_t(1));

        click(&Form1->CmdBrkSld);
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
        QVERIFY(setup().Timer1.running());
        QCOMPARE(viewerShows(), QString("pic02.bmp"));
        QVERIFY(!Form1->CmdPrevSld.isEnabled());  // back only with the next tick
        tick();
        if (repeat) {
            verifyRunningAt(0, "pic01.bmp", 2);
        } else {
            verifyEnded();
        }
    }

    void uncheckingRepeatEndsTheShowAtTheEndOfThePass() {
        startShow(pictures(*desktop, 2), "5", 1);
        tick();
        tick();
        verifyRunningAt(0, "pic01.bmp", 2);  // the second pass
        click(&setup().Check1);
        QCOMPARE(setup().Check1.value(), 0);
        tick();
        verifyRunningAt(1, "pic02.bmp", 2);
        tick();
        verifyEnded();
    }

    // A repeat restart takes the setup window's folder as it stands at the end of the pass.
    void repeatRestartTakesTheFolderAsItIsNow_data() {
        QTest::addColumn<int>("picturesThere");
        QTest::newRow("a folder without pictures") << 0;
        QTest::newRow("a folder of three") << 3;
    }
    void repeatRestartTakesTheFolderAsItIsNow() {
        QFETCH(int, picturesThere);
        startShow(pictures(*desktop, 2), "5", 1);
        const QString other = desktop->folder("home/other");
        TestDesktop::writePictures(other, picturesThere, "new", 4, 3);
        setup().Dir1.setPath(other);
        tick();
        verifyRunningAt(1, "pic02.bmp", 2);  // the pass goes on over the list it started with
        tick();
        if (picturesThere == 0) {
            verifyEnded();
        } else {
            QCOMPARE(Module1.DirPathSld, other + "/");
            verifyRunningAt(0, "new01.bmp", 3);
        }
    }

    // The interval is read only at a start: emptied during a show, the restart runs at 0 and
    // the timer no longer ticks; only the steps by hand go on.
    void anEmptiedIntervalStopsTheTicksAfterTheRestart() {
        startShow(pictures(*desktop, 2), "5", 1);
        setup().Text1.setText("");
        QCOMPARE(setup().Command1.caption(), QString("値が不正です。"));
        QCOMPARE(setup().Timer1.interval(), 5000);
        tick();
        verifyRunningAt(1, "pic02.bmp", 2);
        tick();
        QCOMPARE(setup().Timer1.interval(), 0);
        verifyRunningAt(0, "pic01.bmp", 2);
        tick();
        QCOMPARE(Module1.CurIndexSld, int16_t(0));
        click(&Form1->CmdNextSld);
        verifyRunningAt(1, "pic02.bmp", 2);
    }

    void startingAgainBeginsAtTheFirstPicture_data() {
        QTest::addColumn<bool>("paused");
        QTest::newRow("while running") << false;
        QTest::newRow("while paused") << true;
    }
    void startingAgainBeginsAtTheFirstPicture() {
        QFETCH(bool, paused);
        startShow(pictures(*desktop, 3));
        tick();
        tick();
        if (paused) click(&Form1->CmdBrkSld);
        setup().Text1.setText("2.5");
        click(&setup().Command1);
        verifyRunningAt(0, "pic01.bmp", 3);
        QCOMPARE(setup().Timer1.interval(), 2500);
    }

    void cancelHidesTheSetupWindowAndTheShowGoesOn() {
        startShow(pictures(*desktop, 3));
        click(&setup().Command2);
        QVERIFY(!setup().isVisible());
        verifyRunningAt(0, "pic01.bmp", 3);
        tick();
        verifyRunningAt(1, "pic02.bmp", 3);
    }

    // A picture that cannot be loaded is reported in a message box; a tick that falls while the
    // box is open waits for it to close and then comes once, never inside the handler.
    void aTickWhileALoadErrorIsOpenWaitsForTheBox() {
        const QString folder = desktop->folder("home/show");
        TestDesktop::writePicture(folder + "/pic01.bmp", 4, 3);
        TestDesktop::writeFile(folder + "/pic02.bmp", "not a picture at all");
        TestDesktop::writePicture(folder + "/pic03.bmp", 4, 3);
        startShow(folder);
        int stepsInsideTheBox = -1;
        desktop->whileMessageOpen = [&] {
            const int16_t before = Module1.CurIndexSld;
            tick();
            stepsInsideTheBox = Module1.CurIndexSld - before;
        };
        tick();
        QCOMPARE(int(desktop->messages.size()), 1);
        QCOMPARE(desktop->messages[0].title, QString("Load Error"));
        QCOMPARE(stepsInsideTheBox, 0);
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QVERIFY(setup().Timer1.running());
        desktop->whileMessageOpen = nullptr;

        QCoreApplication::processEvents();
        QCOMPARE(Module1.CurIndexSld, int16_t(2));
        QCOMPARE(viewerShows(), QString("pic03.bmp"));
        QCoreApplication::processEvents();
        QCOMPARE(Module1.CurIndexSld, int16_t(2));
        QCOMPARE(int(desktop->messages.size()), 1);
    }

    void randomOrderIsAPermutationEveryTime() {
        const QString folder = pictures(*desktop, 6);
        startShow(folder, "5", 0, 1);
        const QStringList names = {"pic01.bmp", "pic02.bmp", "pic03.bmp",
                                   "pic04.bmp", "pic05.bmp", "pic06.bmp"};
        setup().Random().seed(7);
        std::set<QStringList> orders;
        for (int run = 0; run < 100; ++run) {
            click(&setup().Command1);
            QCOMPARE(int(Module1.FileListSld.size()), 7);
            QCOMPARE(int(Module1.SldPool.size()), 7);
            QVERIFY(Module1.FileListSld[6].isEmpty());
            QStringList order = showOrder();
            QCOMPARE(viewerShows(), order[0]);
            orders.insert(order);
            std::sort(order.begin(), order.end());
            QCOMPARE(order, names);
        }
        QVERIFY(orders.size() > 50);
    }

    // Known draws, through a seed that yields them: drawing the pool's last entry moves nothing,
    // drawing any other closes the gap, keeping list order and leaving a stale copy behind.
    void randomDrawsMoveThePoolAsExpected_data() {
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QStringList>("poolAfter");
        QTest::newRow("always the last entry") << QList<int>{2, 1, 0}
            << QStringList{"c", "b", "a"} << QStringList{"a", "b", "c", ""};
        QTest::newRow("entry 0, then the last ones") << QList<int>{0, 2, 1, 0}
            << QStringList{"a", "d", "c", "b"} << QStringList{"b", "c", "d", "d", ""};
        QTest::newRow("a middle entry, then entry 0") << QList<int>{1, 0, 0}
            << QStringList{"b", "a", "c"} << QStringList{"c", "c", "c", ""};
    }
    void randomDrawsMoveThePoolAsExpected() {
        QFETCH(QList<int>, draws);
        QFETCH(QStringList, order);
        QFETCH(QStringList, poolAfter);
        const int n = int(draws.size());
        uint64_t seed = 1;
        while (drawsFor(seed, n) != draws) ++seed;
        const QString folder = desktop->folder("home/show");
        for (int i = 0; i < n; ++i) TestDesktop::writePicture(folder + QString("/%1.bmp").arg(QChar('a' + i)), 4, 3);
        click(&Form1->CmdSld);
        setup().Dir1.setPath(folder);
        setup().Check2.setValue(1);
        setup().Random().seed(seed);
        click(&setup().Command1);
        QStringList expectedOrder, expectedPool;
        for (const QString& name : order) expectedOrder << name + ".bmp";
        for (const QString& name : poolAfter) expectedPool << (name.isEmpty() ? name : name + ".bmp");
        QCOMPARE(showOrder(), expectedOrder);
        QCOMPARE(QStringList(Module1.SldPool.begin(), Module1.SldPool.end()), expectedPool);
        QCOMPARE(viewerShows(), expectedOrder[0]);
    }

    void randomOrderIsRoughlyUniform() {
        startShow(pictures(*desktop, 3), "5", 0, 1);
        setup().Random().seed(20240601);
        constexpr int kDraws = 3000;
        std::map<QString, int> first;
        std::map<QStringList, int> orders;
        for (int run = 0; run < kDraws; ++run) {
            click(&setup().Command1);
            ++first[Module1.FileListSld[0]];
            ++orders[showOrder()];
        }
        QCOMPARE(int(first.size()), 3);
        for (const auto& [name, count] : first) {
            QVERIFY2(count >= 850 && count <= 1150, qPrintable(QString("%1 first %2 times").arg(name).arg(count)));
        }
        QCOMPARE(int(orders.size()), 6);
        for (const auto& [order, count] : orders) {
            QVERIFY2(count >= 400 && count <= 600, qPrintable(order.join(",") + QString(" %1 times").arg(count)));
        }
    }

    // Repeat draws a new random order each pass; the random box counts only from the next start.
    void randomIsDrawnAnewAtEachRepeatAndReadOnlyAtAStart() {
        startShow(pictures(*desktop, 5), "5", 1, 1);
        std::set<QStringList> orders{showOrder()};
        for (int pass = 0; pass < 8; ++pass) {
            for (int i = 0; i < 5; ++i) tick();
            orders.insert(showOrder());
        }
        QVERIFY(orders.size() > 1);
        const QStringList current = showOrder();
        click(&setup().Check2);
        QCOMPARE(setup().Check2.value(), 0);
        for (int i = 0; i < 4; ++i) tick();
        QCOMPARE(showOrder(), current);
        QCOMPARE(viewerShows(), current[4]);
        tick();
        QCOMPARE(showOrder(), QStringList({"pic01.bmp", "pic02.bmp", "pic03.bmp", "pic04.bmp", "pic05.bmp"}));
    }
};

QTEST_MAIN(SlideshowTest)
#include "tst_slideshow.moc"
