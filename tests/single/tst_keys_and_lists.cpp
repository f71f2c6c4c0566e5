// The keyboard and the lists as people use them: the keys that step, Enter on a button, Tab
// through the file chooser, and pictures that cannot be shown.
#include "tests/support/desktop.h"

class KeysAndListsTest : public DesktopTest {
    Q_OBJECT

private slots:
    void onlyPlainEnterAndBackspaceStep_data() {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shown");
        // clang-format off
        QTest::newRow("Enter") << QKeyCombination(Qt::Key_Return) << "\r" << 2;
        QTest::newRow("keypad Enter") << (Qt::KeypadModifier | Qt::Key_Enter) << "\r" << 2;
        QTest::newRow("Backspace") << QKeyCombination(Qt::Key_Backspace) << "\b" << 0;
        QTest::newRow("Ctrl+Enter") << (Qt::ControlModifier | Qt::Key_Return) << "\n" << 1;
        QTest::newRow("Alt+Enter") << (Qt::AltModifier | Qt::Key_Return) << "\r" << 1;
        QTest::newRow("Ctrl+Backspace") << (Qt::ControlModifier | Qt::Key_Backspace) << "\x7f" << 1;
        QTest::newRow("Ctrl+M") << (Qt::ControlModifier | Qt::Key_M) << "\r" << 1;
        // clang-format on
    }
    void onlyPlainEnterAndBackspaceStep() {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, text);
        QFETCH(int, shown);
        const QStringList names = writePictures(pics, 3);
        openSingle(pics, 1);
        QTest::sendKeyEvent(QTest::Click, FrmShow1->Picture1.widget(), key.key(), text,
                            key.keyboardModifiers());
        QCOMPARE(viewerShows(), names[shown]);
    }

    void enterPressesAButton() {
        QTest::keyClick(Form1->CmdShow12.widget(), Qt::Key_Return);
        QVERIFY(FrmSelect12->isShown());
    }

    // Tab reaches the preview too; coming into the file list it selects nothing, so a damaged
    // first file is not loaded, and "開く" stays off until the user selects an entry.
    void tabbingThroughTheFileChooserSelectsNothing() {
        writeFile(pics + "/a.bmp", "BM cut short");
        writePictures(pics, 1);
        click(Form1->CmdShow1);
        FileChooser& c = *FrmSelect1;
        c.Dir1.setPath(pics);
        c.widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c.widget()));
        c.Command2.widget()->setFocus();
        for (QWidget* next : std::initializer_list<QWidget*>{
                 c.Drive1.widget(), c.Dir1.widget(), c.File1.widget(), c.Picture1.widget(),
                 c.Check1.widget(), c.Command2.widget()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(!c.Command1.isEnabled() && paintedRect(c.Picture1).isEmpty());
        QTest::keyClick(c.File1.widget(), Qt::Key_Down);
        QVERIFY(c.Command1.isEnabled() && !paintedRect(c.Picture1).isEmpty());
    }

    void aThumbnailThatCannotBeShownLeavesThePageButtonsAsTheyWere() {
        writePictures(pics, 25);
        writeFile(pics + "/pic14.bmp", "BM cut short");
        openGrid(pics);
        click(Form1->CmdNext12);
        click(*FrmShow12->Picture1[1]);
        QCOMPARE(desktop->messages.size(), 2);  // the thumbnail, then the viewer
        desktop->messages.clear();
        QVERIFY(!FrmShow1->isShown() && Form1->CmdNext12.isEnabled() &&
                Form1->CmdPrev12.isEnabled());
    }

    void aPictureWithoutReadPermissionIsListedAndGivesALoadError() {
        writePictures(pics, 2);
        QFile::setPermissions(pics + "/pic02.bmp", QFile::WriteOwner);
        if (QFileInfo(pics + "/pic02.bmp").isReadable()) QSKIP("this user reads every file");
        openSingle(pics, 1);
        QCOMPARE(desktop->messages.size(), 2);  // the preview, then the viewer
        QVERIFY(desktop->messages[1].contains("Permission denied") && !FrmShow1->isShown());
        desktop->messages.clear();
    }
};

QTEST_MAIN(KeysAndListsTest)
#include "tst_keys_and_lists.moc"
