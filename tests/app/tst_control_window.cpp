// The control window: start-up, the three mode switches, and the work area.
#include <QApplication>

#include "tests/support/fixture.h"

namespace {
// Records the order in which windows are hidden.
class HideRecorder : public QObject {
public:
    QStringList hidden;
    QHash<QObject*, QString> names;
    void watch(QWidget* window, const QString& name) {
        names[window] = name;
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) hidden << names.value(watched);
        return false;
    }
};
}  // namespace

class ControlWindowTest : public DesktopTest {
    Q_OBJECT

private slots:
    void startUpShowsOnlyTheControlWindowWithNavigationOff() {
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(Form1->size(), QSize(41, 241));
        QCOMPARE(Form1->caption(), QString());
        QVERIFY(!FrmShow1.exists() && !FrmShow12.exists());
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != Form1.get()) QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
        }
        // The choosers are made at start-up, in this order.
        QVERIFY(Form1->creationNumber() < FrmSelect12->creationNumber());
        QVERIFY(FrmSelect12->creationNumber() < FrmSelect1->creationNumber());
        QVERIFY(FrmSelect1->creationNumber() < FrmSelectSld->creationNumber());
        // Three columns of a mode button, ">>" and "<<"; "停止" below the last.
        const QList<platform::CommandButton*> column = {
            &Form1->CmdShow1, &Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdShow12, &Form1->CmdNext12,
            &Form1->CmdPrev12, &Form1->CmdSld,    &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
        const int tops[] = {0, 32, 48, 72, 104, 120, 144, 176, 192, 208};
        for (int i = 0; i < column.size(); ++i) {
            QCOMPARE(column[i]->geometry(), QRect(0, tops[i], 41, i % 3 ? 17 : 33));
            QCOMPARE(column[i]->isEnabled(), i % 3 == 0 && i < 9);
        }
        QCOMPARE(Form1->CmdSld.caption(), QString("スライド"));
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
        // Tab order runs down the thumbnail column before the single-picture one.
        QCOMPARE(Form1->CmdShow12.nextInFocusChain(), &Form1->CmdNext12);
        QCOMPARE(Form1->CmdPrev12.nextInFocusChain(), &Form1->CmdNext1);
        // The first run opens every chooser on the home folder with the interval 7.
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
        QCOMPARE(FrmSelectSld->Check3.value(), 0);
    }

    // A mode button hides the other windows in a fixed order, stops the show and turns every
    // step off, but leaves "停止"/"再開" as it reads.
    void modeButtonsHideTheOtherWindowsInOrder_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("hiddenOrder");
        QTest::newRow("１枚") << 1 << QStringList{"FrmShow1", "FrmSelect12", "FrmShow12", "FrmSelectSld"};
        QTest::newRow("12枚") << 12 << QStringList{"FrmSelect1", "FrmShow1", "FrmShow12", "FrmSelectSld"};
        QTest::newRow("スライド") << 0 << QStringList{"FrmShow1", "FrmShow12", "FrmSelect1", "FrmSelect12"};
    }
    void modeButtonsHideTheOtherWindowsInOrder() {
        QFETCH(int, mode);
        QFETCH(QStringList, hiddenOrder);
        HideRecorder recorder;
        const QList<QPair<QWidget*, QString>> windows = {
            {FrmShow1.get(), "FrmShow1"},     {FrmShow12.get(), "FrmShow12"},
            {FrmSelect1.get(), "FrmSelect1"}, {FrmSelect12.get(), "FrmSelect12"},
            {FrmSelectSld.get(), "FrmSelectSld"}};
        for (const auto& [window, name] : windows) {
            window->show();
            recorder.watch(window, name);
        }
        allNavigationOn();
        Form1->CmdBrkSld.setCaption("再開");
        FrmSelectSld->Timer1.setInterval(1000);
        FrmSelectSld->Timer1.setRunning(true);

        click(mode == 1 ? &Form1->CmdShow1 : mode == 12 ? &Form1->CmdShow12 : &Form1->CmdSld);
        QCOMPARE(recorder.hidden, hiddenOrder);
        for (auto* b : navigationButtons()) QVERIFY(!b->isEnabled());
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("再開"));
        QVERIFY(!FrmSelectSld->Timer1.running());
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(Module1.Prev12Saved, int16_t(0));
        for (const auto& [window, name] : windows) QCOMPARE(window->isVisible(), !hiddenOrder.contains(name));
        QVERIFY(Form1->isVisible());
    }

    void workAreaLeavesSixteenPixelsAtTheBottom() {
        QCOMPARE(QRect(QPoint(Module1.WorkLeft, Module1.WorkTop), QPoint(Module1.WorkRight - 1, Module1.WorkBottom - 1)),
                 QGuiApplication::primaryScreen()->availableGeometry().adjusted(0, 0, 0, -16));
    }
};

QTEST_MAIN(ControlWindowTest)
#include "tst_control_window.moc"
