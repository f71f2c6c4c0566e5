// The slideshow: the interval box, the fresh interval after a step by hand, a tick that falls
// while a message box is open, and the random order. Ticks are fired directly; only the fresh
// interval is timed.
#include <malloc.h>

#include <set>

#include "tests/support/desktop.h"

namespace {
const QString kStart = QStringLiteral("スライドショー"),
              kInvalid = QStringLiteral("値が不正です。");
SlideshowSetup& setup() { return *FrmSelectSld; }

QStringList showOrder() {
    return QStringList(Module1.FileListSld.begin(), Module1.FileListSld.end() - 1);
}
}  // namespace

class SlideshowTest : public DesktopTest {
    Q_OBJECT
private slots:
    // Put in whole (pasted, restored at start-up) or typed key by key (checked after each key):
    // the text the box keeps, and the milliseconds a start gives the timer, a half to the even.
    void interval_data() {
        for (const char* column : {"text", "kept", "milliseconds", "locale"})
            QTest::addColumn<QString>(column);
        // kept: the text after each key when typed; none: put in whole. "_" is a blank, "\t" a tab.
        for (const QString& line : QString(R"(
1                      | 1       |          | 1000
60                     | 60      |          | 60000
0.9                    | 0.9     |          |
60.5                   | 60.5    |          |
empty                  |         |          |
-5                     | -5      |          |
blanks first           | _\t3    |          | 3000
a sign                 | +4      |          | 4000
a point last           | 7.      |          | 7000
a lone point           | .       |          |
a fraction only        | .5      |          |
two points             | 1.2.3   |          | 1200
an exponent            | 1e1     |          | 10000
a signed exponent      | 6E+1    |          | 60000
an exponent too far    | 1e3     |          |
e without digits       | 12e     |          | 12000
half to even, down     | 1.0625  |          | 1062
half to even, up       | 1.1875  |          | 1188
full-width digits      | ５      |          |
trailing full-width    | 5５     |          | 5000
trailing text          | 12abc   |          | 12000
too large to hold      | 1e400   |          |
too small              | 1e-400  |          |
a decimal comma locale | 2.5     |          | 2500   | de_DE
a comma in that locale | 2,5     |          | 2000   | de_DE
typed 1.5              | 1.5     | 1 1. 1.5 | 1500
typed 0                | 0       | _        |
typed 605              | 605     | 6 60 _   |
typed 5秒              | 5秒     | 5 5秒    | 5000
typed, a blank first   | _3      | _ 3      | 3000
)")
                                       .split('\n', Qt::SkipEmptyParts)) {
            const QStringList c = line.split('|');
            QTestData& row = QTest::newRow(qPrintable(c[0].trimmed()));
            row << c[1].trimmed().replace('_', ' ').replace("\\t", "\t");
            for (int i = 2; i < 5; ++i) row << c.value(i).trimmed();
        }
    }
    void interval() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QString, milliseconds);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale.isEmpty() ? "C" : locale));
        QStringList after = kept.split(' ', Qt::SkipEmptyParts).replaceInStrings("_", "");
        const bool typed = !after.isEmpty();
        if (!typed) after << (milliseconds.isEmpty() ? "" : text);
        writePictures(pics, 2);
        click(Form1->CmdSld);
        setup().Dir1.setPath(pics);
        setup().Text1.setText(QString());
        for (int i = 0; i < after.size(); ++i) {
            if (!typed) {
                setup().Text1.setText(text);
            } else if (text[i].unicode() < 128) {
                QTest::keyClick(setup().Text1.widget(), text[i].toLatin1());
            } else {  // a character without a key comes as an input method delivers it
                for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, QString(text[i]));
                    QApplication::sendEvent(setup().Text1.widget(), &event);
                }
            }
            QCOMPARE(setup().Text1.text(), after[i]);
            QCOMPARE(setup().Command1.caption(), after[i].isEmpty() ? kInvalid : kStart);
            QCOMPARE(setup().Command1.isEnabled(), !after[i].isEmpty());
        }
        QLocale::setDefault(QLocale::c());
        if (milliseconds.isEmpty()) return;
        click(setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds.toInt());
        QVERIFY(setup().Timer1.running());
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
