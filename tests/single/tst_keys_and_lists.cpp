// The keyboard and the lists as people use them: which keys step the viewer, Enter on a
// button, Tab through the file chooser, and pictures that cannot be shown.
#include "tests/support/fixture.h"

class KeysAndListsTest : public DesktopTest {
    Q_OBJECT

private slots:
    void onlyPlainEnterAndBackspaceStep_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shown");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 2;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 2;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 0;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << "\n" << 1;
        QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << int(Qt::AltModifier) << "\r" << 1;
        QTest::newRow("Ctrl+Backspace")
            << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << "\x7f" << 1;
        QTest::newRow("Ctrl+M") << int(Qt::Key_M) << int(Qt::ControlModifier) << "\r" << 1;
    }
    void onlyPlainEnterAndBackspaceStep() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, shown);
        const QStringList names = TestDesktop::writePictures(pics, 3);
        openSingle(pics, 1);
        QTest::sendKeyEvent(QTest::Click, FrmShow1->Picture1.widget(), Qt::Key(key), text,
                            Qt::KeyboardModifiers(modifiers));
        QCOMPARE(viewerShows(), names[shown]);
    }

    void enterPressesTheFocusedButton() {
        QTest::keyClick(Form1->CmdShow12.widget(), Qt::Key_Return);
        QVERIFY(FrmSelect12->isShown());
        QTest::keyClick(FrmSelect12->Command2.widget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!FrmSelect12->isShown());
    }

    // Tab goes through the preview too; coming into the file list it selects nothing, so a
    // damaged first file is not loaded and "開く" stays off until the user selects an entry.
    void tabbingThroughTheFileChooserSelectsNothing() {
        TestDesktop::writeFile(pics + "/a.bmp", damagedBmp());
        TestDesktop::writePictures(pics, 2);
        click(Form1->CmdShow1.widget());
        FileChooser& chooser = *FrmSelect1;
        chooser.Dir1.setPath(pics);
        chooser.widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chooser.widget()));
        chooser.Command2.widget()->setFocus();
        QList<QWidget*> order;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget();
        }
        QCOMPARE(order, (QList<QWidget*>{chooser.Drive1.widget(), chooser.Dir1.widget(),
                                         chooser.File1.widget(), chooser.Picture1.widget(),
                                         chooser.Check1.widget(), chooser.Command2.widget()}));
        QVERIFY(!chooser.Command1.isEnabled() && paintedRect(chooser.Picture1).isEmpty());
        QTest::keyClick(chooser.File1.widget(), Qt::Key_Down);
        QVERIFY(chooser.Command1.isEnabled() && !paintedRect(chooser.Picture1).isEmpty());
    }

    void aThumbnailThatCannotBeShownLeavesThePageButtonsAsTheyWere() {
        TestDesktop::writePictures(pics, 25);
        TestDesktop::writeFile(pics + "/pic14.bmp", damagedBmp());
        openGrid(pics, 1);
        QVERIFY(desktop->shownOnce("Load Error", "pic14.bmp"));
        click(FrmShow12->Picture1[1]->widget());
        QVERIFY(desktop->shownOnce("Load Error", "pic14.bmp"));
        QVERIFY(!FrmShow1->isShown() && Form1->CmdNext12.isEnabled() &&
                Form1->CmdPrev12.isEnabled());
    }

    void aPictureWithoutReadPermissionIsListedAndGivesALoadError() {
        TestDesktop::writePictures(pics, 2);
        QFile::setPermissions(pics + "/pic02.bmp", QFile::WriteOwner);
        if (QFileInfo(pics + "/pic02.bmp").isReadable()) QSKIP("this user reads every file");
        click(Form1->CmdShow1.widget());
        FrmSelect1->Dir1.setPath(pics);
        QCOMPARE(FrmSelect1->File1.entry(1), QString("pic02.bmp"));
        FrmSelect1->File1.setSelectedIndex(1);
        QVERIFY(desktop->shownOnce("Load Error", "Permission denied"));
        click(FrmSelect1->Command1.widget());
        QVERIFY(desktop->shownOnce("Load Error", "Permission denied") && !FrmShow1->isShown());
    }
};

QTEST_MAIN(KeysAndListsTest)
#include "tst_keys_and_lists.moc"
