// The slideshow interval box: its check as the user types, the start button it decides with the
// folder, the milliseconds a start gives the timer, and how a number is read from text.
#include <QApplication>
#include <clocale>
#include <cmath>
#include <limits>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/number_text.h"
#include "app/windows.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {
const QString kStart = QStringLiteral("スライドショー");
const QString kInvalid = QStringLiteral("値が不正です。");

SlideshowSetup& setup() { return *FrmSelectSld; }

// One keystroke into a widget; a character without a key of its own comes as the input method
// would deliver it, a key event carrying only its text.
void typeKey(QWidget* widget, QChar c) {
    if (c.unicode() < 128) {
        QTest::keyClick(widget, c.toLatin1());
        return;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}
}  // namespace

class IntervalTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    QString pictures;
    QString empty;

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        pictures = desktop->folder("home/pictures");
        TestDesktop::writePictures(pictures, 2);
        empty = desktop->folder("home/empty");
        desktop->startProgram();
        click(&Form1->CmdSld);
        setup().Dir1.setPath(pictures);
    }
    void cleanup() { desktop.reset(); }

    // Each keystroke is checked at once: after every key the box holds a valid text or none.
    void typedKeyByKey_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("textAfterEachKey");
        QTest::newRow("7 then 0") << "70" << QStringList{"7", ""};
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
            typeKey(&setup().Text1, keys[i]);
            const QString want = textAfterEachKey[i];
            QCOMPARE(setup().Text1.text(), want);
            QCOMPARE(setup().Command1.caption(), want.isEmpty() ? kInvalid : kStart);
            QCOMPARE(setup().Command1.isEnabled(), !want.isEmpty());
        }
    }

    // Texts put into the box whole (pasted, or restored at start-up), and the start they give.
    void intervalTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("milliseconds");  // -1: rejected
        QTest::newRow("1") << "1" << 1000;
        QTest::newRow("60") << "60" << 60000;
        QTest::newRow("2.5") << "2.5" << 2500;
        QTest::newRow("3 after blanks") << "  3" << 3000;
        QTest::newRow("12abc") << "12abc" << 12000;
        QTest::newRow("5秒") << "5秒" << 5000;
        QTest::newRow("a half millisecond to even, down") << "1.0625" << 1062;
        QTest::newRow("a half millisecond to even, up") << "1.1875" << 1188;
        QTest::newRow("0.9") << "0.9" << -1;
        QTest::newRow("60.5") << "60.5" << -1;
        QTest::newRow("61") << "61" << -1;
        QTest::newRow("0") << "0" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("-5") << "-5" << -1;
        QTest::newRow("abc") << "abc" << -1;
        QTest::newRow("1e3") << "1e3" << -1;
        QTest::newRow("1e9999") << "1e9999" << -1;
        QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << -1;
        QTest::newRow("1 and 400 zeros") << "1" + QString(400, QLatin1Char('0')) << -1;
    }
    void intervalTexts() {
        QFETCH(QString, text);
        QFETCH(int, milliseconds);
        setup().Text1.setText(text);
        if (milliseconds < 0) {
            QCOMPARE(setup().Text1.text(), QString());
            QCOMPARE(setup().Command1.caption(), kInvalid);
            QVERIFY(!setup().Command1.isEnabled());
            return;
        }
        QCOMPARE(setup().Text1.text(), text);
        QCOMPARE(setup().Command1.caption(), kStart);
        QVERIFY(setup().Command1.isEnabled());
        click(&setup().Command1);
        QCOMPARE(setup().Timer1.interval(), milliseconds);
        QVERIFY(setup().Timer1.running());
    }

    void aValidIntervalOverAnEmptyFolderLeavesTheButtonOff() {
        setup().Dir1.setPath(empty);
        setup().Text1.setText("0");
        QCOMPARE(setup().Command1.caption(), kInvalid);
        setup().Text1.setText("4");
        QCOMPARE(setup().Command1.caption(), kStart);
        QVERIFY(!setup().Command1.isEnabled());
        setup().Dir1.setPath(pictures);
        QVERIFY(setup().Command1.isEnabled());
        QCOMPARE(setup().Command1.caption(), kStart);
        setup().Dir1.setPath(empty);
        QVERIFY(!setup().Command1.isEnabled());
        QCOMPARE(setup().Command1.caption(), kStart);
    }

    void aFolderWithPicturesLeavesTheButtonOffWithoutAnInterval() {
        setup().Dir1.setPath(empty);
        setup().Text1.setText("");
        setup().Dir1.setPath(pictures);
        QVERIFY(!setup().Command1.isEnabled());
        QCOMPARE(setup().Command1.caption(), kInvalid);
    }

    // The decimal point is the full stop whatever the user's regional settings say.
    void theDecimalPointIsAlwaysAFullStop() {
        const char* saved = std::setlocale(LC_NUMERIC, nullptr);
        const std::string restore = saved ? saved : "C";
        bool found = false;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "ru_RU.UTF-8", "nl_NL.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr) {
                found = true;
                break;
            }
        }
        if (!found) QSKIP("no locale with a decimal comma is installed");
        setup().Text1.setText("2.5");
        const double half = NumberAtStart(".5");
        click(&setup().Command1);
        const int interval = setup().Timer1.interval();
        std::setlocale(LC_NUMERIC, restore.c_str());
        QCOMPARE(half, 0.5);
        QCOMPARE(interval, 2500);
    }

    void numberAtTheStartOfAText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("blank, 3") << " 3" << 3.0;
        QTest::newRow("-2") << "-2" << -2.0;
        QTest::newRow("+4") << "+4" << 4.0;
        QTest::newRow("1.5x") << "1.5x" << 1.5;
        QTest::newRow(".5") << ".5" << 0.5;
        QTest::newRow("7.") << "7." << 7.0;
        QTest::newRow("1.2.3") << "1.2.3" << 1.2;
        QTest::newRow("abc") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("a lone sign") << "-" << 0.0;
        QTest::newRow("1e3") << "1e3" << 1000.0;
        QTest::newRow("12e") << "12e" << 12.0;
        QTest::newRow("5秒") << "5秒" << 5.0;
        QTest::newRow("1 and a line feed") << "1\n" << 1.0;
        QTest::newRow("full-width digits") << "５" << 0.0;
    }
    void numberAtTheStartOfAText() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(NumberAtStart(text), value);
    }

    void numbersTooLargeToHoldReadAsInfinite() {
        QVERIFY(std::isinf(NumberAtStart("1e9999")) && NumberAtStart("1e9999") > 0);
        QVERIFY(std::isinf(NumberAtStart("-1e9999")) && NumberAtStart("-1e9999") < 0);
        QVERIFY(std::isinf(NumberAtStart(QString(400, QLatin1Char('9')))));
        QCOMPARE(NumberAtStart("1e-400"), 0.0);
    }

    void roundingTakesAHalfToTheEvenNeighbour() {
        QCOMPARE(RoundHalfEven(0.5), 0.0);
        QCOMPARE(RoundHalfEven(1.5), 2.0);
        QCOMPARE(RoundHalfEven(2.5), 2.0);
        QCOMPARE(RoundHalfEven(-1.5), -2.0);
        QCOMPARE(RoundHalfEven(2.4999), 2.0);
        QCOMPARE(ToInt32HalfEven(1.5).value_or(-99), 2);
        QVERIFY(!ToInt32HalfEven(std::numeric_limits<double>::infinity()).has_value());
        QVERIFY(!ToInt32HalfEven(3e9).has_value());
    }
};

QTEST_MAIN(IntervalTest)
#include "tst_interval.moc"
