// The slideshow's interval, steps by hand, ticks and random order; ticks are fired directly.
#include <malloc.h>

#include <set>

#include "tests/support/desktop.h"

namespace {
SlideshowSetup& setup() { return *FrmSelectSld; }
QStringList showOrder() {
    return QStringList(Module1.FileListSld.begin(), Module1.FileListSld.end() - 1);
}
}  // namespace

class SlideshowTest : public DesktopTest {
    Q_OBJECT
private slots:
    // Put in whole (pasted, read at start-up) or, where "typed" gives the text after each key,
    // typed key by key; then the milliseconds a start gives the timer, a half to the even.
    // "_" is a blank, "\t" a tab.
    void interval_data() {
        for (const char* column : {"text", "typed", "milliseconds", "locale"})
            QTest::addColumn<QString>(column);
        addRows(R"(
1                      | 1       |          | 1000
0.9                    | 0.9     |          |
60.5                   | 60.5    |          |
blanks first           | _\t3    |          | 3000
a sign                 | +4      |          | 4000
a lone point           | .       |          |
two points             | 1.2.3   |          | 1200
an exponent            | 1e1     |          | 10000
a signed exponent      | 6E+1    |          | 60000
e without digits       | 12e     |          | 12000
half to even, down     | 1.0625  |          | 1062
half to even, up       | 1.1875  |          | 1188
trailing full-width    | 5５     |          | 5000
a decimal comma locale | 2.5     |          | 2500   | de_DE
a comma in that locale | 2,5     |          | 2000   | de_DE
typed 1.5              | 1.5     | 1 1. 1.5 | 1500
typed 605              | 605     | 6 60 _   |
typed 5秒              | 5秒     | 5 5秒    | 5000
)",
                4);
    }
    void interval() {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, milliseconds);
        QFETCH(QString, locale);
        text.replace('_', ' ').replace("\\t", "\t");
        QLocale::setDefault(QLocale(locale.isEmpty() ? "C" : locale));
        writePictures(pics, 2);
        click(Form1->CmdSld);
        setup().Dir1.setPath(pics), setup().Text1.setText(typed.isEmpty() ? text : QString());
        const QStringList after = typed.isEmpty() ? QStringList{milliseconds.isEmpty() ? "" : text}
                                                  : typed.split(' ').replaceInStrings("_", "");
        for (int i = 0; i < after.size(); ++i) {
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {  // a key or an IME's text
                const char16_t c = text[i].toUpper().unicode();
                QKeyEvent event(type, c < 128 ? c : int(Qt::Key_unknown), {}, QString(text[i]));
                if (!typed.isEmpty()) QApplication::sendEvent(setup().Text1.widget(), &event);
            }
            QCOMPARE(setup().Text1.text(), after[i]);
            QCOMPARE(setup().Command1.caption(),
                     after[i].isEmpty() ? "値が不正です。" : "スライドショー");
            QCOMPARE(setup().Command1.isEnabled(), !after[i].isEmpty());
        }
        QLocale::setDefault(QLocale::c());
        if (milliseconds.isEmpty()) return;
        click(setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds.toInt());
        QVERIFY(setup().Timer1.running());
    }
    // ">>" and "<<" show their picture and make the time to the next tick full again.
    void aStepByHandStartsAFreshInterval() {
        constexpr int kInterval = 60000, kWaited = 1000;
        startShow(desktop->folder("home/show", 3), "60");
        for (auto* button : {&Form1->CmdNextSld, &Form1->CmdPrevSld}) {
            QTest::qSleep(kWaited);
            QVERIFY(setup().Timer1.remainingMilliseconds() <= kInterval - kWaited);
            click(*button);
            QVERIFY(setup().Timer1.remainingMilliseconds() > kInterval - kWaited / 2);
            QCOMPARE(viewerShows(), button == &Form1->CmdNextSld ? "pic02.bmp" : "pic01.bmp");
        }
    }
    // A tick while a "Load Error" is open waits for the box to close, then comes once, never
    // inside the handler; timers that are gone leave no callback behind.
    void aTickWhileAMessageIsOpenWaitsForTheBox() {
        const QString folder = desktop->folder("home/show", 3);
        writeFile(folder + "/pic02.bmp", "not a picture at all");
        startShow(folder);
        desktop->whileMessageOpen = [] {  // a tick inside the handler does not step
            tick();
            QCOMPARE(Module1.CurIndexSld, int16_t(1));
        };
        tick();
        QVERIFY(desktop->shownOnce("Load Error", "pic02.bmp"));
        desktop->whileMessageOpen = nullptr;
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QCoreApplication::processEvents(), QCoreApplication::processEvents();
        QCOMPARE(viewerShows(), QString("pic03.bmp"));  // a second tick would end the show
        const auto inUse = [] { return qint64(mallinfo2().uordblks); };
        for (int i = 0; i < 100; ++i) platform::Timer warmUp;
        const qint64 before = inUse();
        for (int i = 0; i < 10000; ++i) platform::Timer gone;
        QVERIFY2(inUse() - before < 64 * 1024, qPrintable(QString::number(inUse() - before)));
    }
    // Draws 0, 2, 1, 0 (found by seed) from a pool kept in list order give a d c b; with repeat
    // each pass is a new permutation; unticked, the next pass is in list order.
    void randomOrder() {
        uint64_t seed = 0;
        for (QList<int> draws; draws != QList<int>{0, 2, 1, 0};) {
            RandomFraction generator(++seed);
            draws.clear();
            for (int left = 4; left >= 1; --left) draws << int(std::floor(generator.next() * left));
        }
        const QStringList names{"a.bmp", "b.bmp", "c.bmp", "d.bmp"};
        for (const QString& name : names) writePicture(pics + "/" + name, 4, 3);
        setup().Random().seed(seed);
        startShow(pics, "5", 1, 1);
        QCOMPARE(showOrder(), QStringList({"a.bmp", "d.bmp", "c.bmp", "b.bmp"}));
        std::set<QStringList> orders;
        for (int pass = 0; pass < 20; ++pass, tick(), tick(), tick(), tick()) {
            const QStringList order = showOrder();
            QCOMPARE(viewerShows(), order[0]);
            QVERIFY(std::is_permutation(order.begin(), order.end(), names.begin(), names.end()));
            orders.insert(order);
        }
        QVERIFY(orders.size() > 4);
        click(setup().Check2);
        const QStringList current = showOrder();
        tick(), tick(), tick();
        QCOMPARE(showOrder(), current);
        tick();
        QCOMPARE(showOrder(), names);
    }
};

QTEST_MAIN(SlideshowTest)
#include "tst_slideshow.moc"
