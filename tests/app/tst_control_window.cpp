// The control window: start-up, the three mode switches, and windows made on first use.
#include <QApplication>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "platform/desktop.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {
// Records the order in which windows are hidden.
class HideRecorder : public QObject {
public:
    QStringList hidden;
    void watch(QWidget* window, const QString& name) {
        names[window] = name;
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && names.contains(watched)) hidden << names[watched];
        return false;
    }

private:
    QHash<QObject*, QString> names;
};

QList<platform::CommandButton*> navigationButtons() {
    return {&Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdNext12, &Form1->CmdPrev12,
            &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
}
}  // namespace

class ControlWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;

private slots:
    void init() { desktop = std::make_unique<TestDesktop>(); }
    void cleanup() { desktop.reset(); }

    void startUpShowsOnlyTheControlWindowWithNavigationOff() {
        desktop->startProgram();
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(Form1->size(), QSize(41, 241));
        QCOMPARE(Form1->caption(), QString());
        QVERIFY(FrmSelect1.exists() && FrmSelect12.exists() && FrmSelectSld.exists());
        QVERIFY(!FrmShow1.exists() && !FrmShow12.exists());
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != Form1.get()) QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
        }
        for (auto* button : navigationButtons()) QVERIFY(!button->isEnabled());
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
        for (auto* button : {&Form1->CmdShow1, &Form1->CmdShow12, &Form1->CmdSld}) {
            QVERIFY(button->isEnabled());
        }
        // The first run opens every chooser on the home folder with the interval 7.
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
        QCOMPARE(FrmSelectSld->Check3.value(), 0);
    }

    void startUpCreatesTheChoosersInOrder() {
        desktop->startProgram();
        QVERIFY(Form1->creationNumber() < FrmSelect12->creationNumber());
        QVERIFY(FrmSelect12->creationNumber() < FrmSelect1->creationNumber());
        QVERIFY(FrmSelect1->creationNumber() < FrmSelectSld->creationNumber());
    }

    void buttonLayoutMatchesTheDesign() {
        desktop->startProgram();
        const QList<QPair<platform::CommandButton*, QRect>> expected = {
            {&Form1->CmdShow1, {0, 0, 41, 33}},    {&Form1->CmdNext1, {0, 32, 41, 17}},
            {&Form1->CmdPrev1, {0, 48, 41, 17}},   {&Form1->CmdShow12, {0, 72, 41, 33}},
            {&Form1->CmdNext12, {0, 104, 41, 17}}, {&Form1->CmdPrev12, {0, 120, 41, 17}},
            {&Form1->CmdSld, {0, 144, 41, 33}},    {&Form1->CmdNextSld, {0, 176, 41, 17}},
            {&Form1->CmdPrevSld, {0, 192, 41, 17}}, {&Form1->CmdBrkSld, {0, 208, 41, 33}}};
        for (const auto& [button, rect] : expected) QCOMPARE(button->geometry(), rect);
        QCOMPARE(Form1->CmdSld.caption(), QString("スライド"));
        // Tab order runs down the thumbnail column before the single-picture one.
        QCOMPARE(Form1->CmdShow12.nextInFocusChain(), &Form1->CmdNext12);
        QCOMPARE(Form1->CmdPrev12.nextInFocusChain(), &Form1->CmdNext1);
    }

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
        desktop->startProgram();
        HideRecorder recorder;
        const QList<QPair<QWidget*, QString>> windows = {
            {FrmShow1.get(), "FrmShow1"},         {FrmShow12.get(), "FrmShow12"},
            {FrmSelect1.get(), "FrmSelect1"},     {FrmSelect12.get(), "FrmSelect12"},
            {FrmSelectSld.get(), "FrmSelectSld"}};
        for (const auto& [window, name] : windows) {
            window->show();
            recorder.watch(window, name);
        }
        for (auto* button : navigationButtons()) button->setEnabled(true);
        Form1->CmdBrkSld.setCaption("再開");
        FrmSelectSld->Timer1.setInterval(1000);
        FrmSelectSld->Timer1.setRunning(true);
        Module1.Next12Saved = true;
        Module1.Prev12Saved = -1;

        platform::CommandButton& button = mode == 1 ? Form1->CmdShow1 : mode == 12 ? Form1->CmdShow12 : Form1->CmdSld;
        click(&button);

        QCOMPARE(recorder.hidden, hiddenOrder);
        for (auto* b : navigationButtons()) QVERIFY(!b->isEnabled());
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("再開"));  // caption untouched
        QVERIFY(!FrmSelectSld->Timer1.running());
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(Module1.Prev12Saved, int16_t(0));
        QWidget* chooser = mode == 1 ? static_cast<QWidget*>(FrmSelect1.get())
                           : mode == 12 ? static_cast<QWidget*>(FrmSelect12.get())
                                        : static_cast<QWidget*>(FrmSelectSld.get());
        QVERIFY(chooser->isVisible());
        QVERIFY(Form1->isVisible());
    }

    void pressingTheSameModeTwiceKeepsTheChooserAsItWas() {
        const QString pics = desktop->folder("home/pics");
        TestDesktop::writePictures(pics, 3);
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(pics);
        click(&Form1->CmdShow1);
        FrmSelect1->File1.setSelectedIndex(1);
        const QPoint where = FrmSelect1->pos();
        click(&Form1->CmdShow1);
        QVERIFY(FrmSelect1->isVisible());
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 1);
        QCOMPARE(FrmSelect1->pos(), where);
    }

    void aWindowClosedThroughItsFrameComesBackFresh() {
        desktop->startProgram();
        const QString pics = desktop->folder("home/pics");
        TestDesktop::writePictures(pics, 2);
        FrmShow1->LoadControl1(pics + "/pic01.bmp", "pic01.bmp", 1);
        PictureViewer* first = FrmShow1.get();
        QVERIFY(first->isVisible());
        QVERIFY(!first->caption().isEmpty());
        first->closeByFrame();
        QVERIFY(!FrmShow1.exists());
        PictureViewer* second = FrmShow1.get();
        QVERIFY(second != first);
        QVERIFY(!second->isVisible());
        QCOMPARE(second->caption(), QString());
    }

    void aChooserClosedThroughItsFrameIsOnlyHidden() {
        desktop->startProgram();
        click(&Form1->CmdSld);
        SlideshowSetup* setup = FrmSelectSld.get();
        setup->Text1.setText("12");
        setup->closeByFrame();
        QVERIFY(FrmSelectSld.exists());
        QCOMPARE(FrmSelectSld.get(), setup);
        QVERIFY(!setup->isVisible());
        QCOMPARE(setup->Text1.text(), QString("12"));
    }

    void workAreaLeavesSixteenPixelsAtTheBottom() {
        desktop->startProgram();
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(int(Module1.WorkLeft), available.left());
        QCOMPARE(int(Module1.WorkTop), available.top());
        QCOMPARE(int(Module1.WorkRight), available.left() + available.width());
        QCOMPARE(int(Module1.WorkBottom), available.top() + available.height() - 16);
    }

    void closingTheControlWindowEndsTheProgram() {
        bool ended = false;
        platform::setProgramEnd([&] { ended = true; });
        desktop->startProgram();
        Form1->closeByFrame();
        platform::setProgramEnd(nullptr);
        QVERIFY(ended);
        QVERIFY(!FrmSelect1.exists() && !FrmSelect12.exists() && !FrmSelectSld.exists());
        QVERIFY(QFile::exists(desktop->programFolder() + "/Tessary.ini"));
    }
};

QTEST_MAIN(ControlWindowTest)
#include "tst_control_window.moc"
