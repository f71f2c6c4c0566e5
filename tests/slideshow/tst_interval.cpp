// The slideshow interval box: its check as the user types or as a text is put in whole, and the
// milliseconds a start gives the timer.
#include "tests/support/fixture.h"

namespace {
const QString kStart = QStringLiteral("スライドショー");
const QString kInvalid = QStringLiteral("値が不正です。");
SlideshowSetup& setup() { return *FrmSelectSld; }
}  // namespace

class IntervalTest : public DesktopTest {
    Q_OBJECT
    void prepare() override {
        TestDesktop::writePictures(pics, 2);
        click(&Form1->CmdSld);
        setup().Dir1.setPath(pics);
    }

private slots:
    // Each keystroke is checked at once: after every key the box holds a valid text or none. A
    // character without a key of its own comes as the input method delivers it: text only.
    void typedKeyByKey_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("textAfterEachKey");
        QTest::newRow("1.5") << "1.5" << QStringList{"1", "1.", "1.5"};
        QTest::newRow("a first 0") << "0" << QStringList{""};
        QTest::newRow("a lone point") << "." << QStringList{""};
        QTest::newRow("60 then 5") << "605" << QStringList{"6", "60", ""};
        QTest::newRow("12abc") << "12abc" << QStringList{"1", "12", "12a", "12ab", "12abc"};
        QTest::newRow("5秒") << "5秒" << QStringList{"5", "5秒"};
        QTest::newRow("a leading blank") << " 3" << QStringList{"", "3"};
    }
    void typedKeyByKey() {
        QFETCH(QString, keys);
        QFETCH(QStringList, textAfterEachKey);
        setup().Text1.clear();
        setup().Text1.setFocus();
        for (int i = 0; i < keys.size(); ++i) {
            if (keys[i].unicode() < 128) {
                QTest::keyClick(&setup().Text1, keys[i].toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(keys[i]));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(keys[i]));
                QApplication::sendEvent(&setup().Text1, &press);
                QApplication::sendEvent(&setup().Text1, &release);
            }
            QCOMPARE(setup().Text1.text(), textAfterEachKey[i]);
            QCOMPARE(setup().Command1.caption(), textAfterEachKey[i].isEmpty() ? kInvalid : kStart);
            QCOMPARE(setup().Command1.isEnabled(), !textAfterEachKey[i].isEmpty());
        }
    }

    // Texts put into the box whole (pasted, or restored at start-up), read as the number they
    // begin with, and the start they give: whole milliseconds, a half to the even one.
    void intervalTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("milliseconds");  // -1: rejected
        QTest::newRow("1") << "1" << 1000;
        QTest::newRow("60") << "60" << 60000;
        QTest::newRow("3 after blanks") << "  3" << 3000;
        QTest::newRow("+4") << "+4" << 4000;
        QTest::newRow("7.") << "7." << 7000;
        QTest::newRow("1.2.3") << "1.2.3" << 1200;
        QTest::newRow("1e1") << "1e1" << 10000;
        QTest::newRow("a half millisecond to even, down") << "1.0625" << 1062;
        QTest::newRow("a half millisecond to even, up") << "1.1875" << 1188;
        QTest::newRow("0.9") << "0.9" << -1;
        QTest::newRow("60.5") << "60.5" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("-5") << "-5" << -1;
        QTest::newRow("1e3") << "1e3" << -1;
        QTest::newRow("full-width digits") << "５" << -1;
        QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << -1;
        QTest::newRow("1e-400") << "1e-400" << -1;
    }
    void intervalTexts() {
        QFETCH(QString, text);
        QFETCH(int, milliseconds);
        setup().Text1.setText(text);
        QCOMPARE(setup().Text1.text(), milliseconds < 0 ? QString() : text);
        QCOMPARE(setup().Command1.caption(), milliseconds < 0 ? kInvalid : kStart);
        QCOMPARE(setup().Command1.isEnabled(), milliseconds >= 0);
        if (milliseconds < 0) return;
        click(&setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds);
        QVERIFY(setup().Timer1.running());
    }
};

QTEST_MAIN(IntervalTest)
#include "tst_interval.moc"
