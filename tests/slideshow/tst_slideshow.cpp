// The slideshow's interval, steps by hand, ticks and random order; ticks are fired directly.
#include "tests/support/desktop.h"

namespace {
SlideshowSetup& setup() { return *FrmSelectSld; }
QStringList showOrder() { return {Module1.FileListSld.begin(), Module1.FileListSld.end() - 1}; }
}  // namespace

class SlideshowTest : public DesktopTest {
    Q_OBJECT
private slots:
    // Put in whole, or typed key by key where "typed" gives the text after each key ("_": blank).
    void interval_data() {
        for (const char* column : {"text", "typed", "milliseconds"})
            QTest::addColumn<QString>(column);
        addRows(R"(
1                      | 1       |          | 1000
0.9                    | 0.9     |          |
blanks first           | _\t3    |          | 3000
a sign                 | +4      |          | 4000
a lone point           | .       |          |
an exponent            | 1e1     |          | 10000
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
                3);
    }
    void interval() {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, milliseconds);
        text.replace('_', ' ').replace("\\t", "\t");
        QLocale::setDefault(
            QLocale(QString(QTest::currentDataTag()).contains("comma") ? "de_DE" : "C"));
        writePictures(pics, 2);
        click(Form1->CmdSld);
        setup().Dir1.setPath(pics), setup().Text1.setText(typed.isEmpty() ? text : QString());
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
    // ">>" and "<<" show their picture and make the time to the next tick full again.
    void aStepByHandStartsAFreshInterval() {
        startShow(desktop->folder("home/show", 3), "60");
        for (auto* button : {&Form1->CmdNextSld, &Form1->CmdPrevSld}) {
            QTest::qSleep(1000);
            QVERIFY(setup().Timer1.remainingMilliseconds() <= 59000);
            click(*button);
            QVERIFY(setup().Timer1.remainingMilliseconds() > 59500);
            QCOMPARE(viewerShows(), button == &Form1->CmdNextSld ? "pic02.bmp" : "pic01.bmp");
        }
    }
    // A tick while a "Load Error" is open comes once the box has closed, never inside.
    void aTickWhileAMessageIsOpenWaitsForTheBox() {
        const QString folder = desktop->folder("home/show", 3);
        writeFile(folder + "/pic02.bmp", "not a picture at all");
        startShow(folder);
        desktop->whileMessageOpen = [] { tick(); };  // inside the handler it does not step
        tick();
        QVERIFY(desktop->shownOnce("Load Error", "pic02.bmp"));
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        QCoreApplication::processEvents(), QCoreApplication::processEvents();
        QCOMPARE(viewerShows(), QString("pic03.bmp"));  // a second tick would end the show
    }
    // Draws 0, 2, 1, 0 from a pool kept in list order give a d c b; unticked, the list order.
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
        click(setup().Check2), tick(), tick(), tick();
        QCOMPARE(showOrder(), QStringList({"a.bmp", "d.bmp", "c.bmp", "b.bmp"}));
        tick();
        QCOMPARE(showOrder(), names);
    }
};

QTEST_MAIN(SlideshowTest)
#include "tst_slideshow.moc"
