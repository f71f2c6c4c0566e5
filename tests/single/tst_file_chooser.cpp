// The picture file chooser: the preview of a clicked file, "開く" and what it hands over, cancel,
// another folder, and the three fit boxes in step.
#include "tests/support/fixture.h"

namespace {
bool centreIsColourOf(const platform::PictureBox& box, int picture) {
    return sameColour(box.image().pixel(box.image().rect().center()), colourOfPicture(picture), 8);
}

// A click on a list entry, or what the window system delivers for a double-click.
void clickEntry(QListWidget& list, int i, bool twice = false) {
    const QPoint at = list.visualItemRect(list.item(i)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (!twice) return;
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}
}  // namespace

class FileChooserTest : public DesktopTest {
    Q_OBJECT

private slots:
    // A click previews a file; "開く", at a drive's root here, hands over the whole list and
    // leaves the chooser behind the viewer; opened again after steps, it shows the selected file;
    // a double-click opens at once.
    void clickingPreviewsAndOpenTakesTheWholeList() {
        const QString folder = desktop->root();
        const QStringList names = TestDesktop::writePictures(folder, 5);
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(folder);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        clickEntry(FrmSelect1->File1, 1);
        QVERIFY(FrmSelect1->Command1.isEnabled());
        QCOMPARE(Module1.CurFile1, folder + "/" + names[1]);
        // A 40 × 30 picture fills the 101-pixel width of the preview and is centred upright.
        QCOMPARE(FrmSelect1->Picture1.scaleWidth(), 101);
        QCOMPARE(paintedRect(FrmSelect1->Picture1), QRect(0, 13, 101, 75));
        QVERIFY(centreIsColourOf(FrmSelect1->Picture1, 1));
        QVERIFY(!FrmSelect1->Picture2.hasPicture() && !FrmShow1->isVisible());

        click(&FrmSelect1->Command1);
        QCOMPARE(QStringList(Module1.FileList1.begin(), Module1.FileList1.end()), names + QStringList{""});
        QCOMPARE(int(Module1.FileCount1), 5);
        QCOMPARE(Module1.DirPath1, folder + "/");
        QVERIFY(centreIsColourOf(FrmShow1->Picture1, 1));
        QVERIFY(FrmSelect1->isVisible() && FrmSelect1->Command1.isEnabled());
        click(&Form1->CmdNext1);
        click(&FrmShow1->Picture1);
        click(&FrmSelect1->Command1);
        QCOMPARE(int(Module1.CurIndex1), 1);
        QCOMPARE(viewerShows(), names[1]);
        click(&FrmShow1->Picture1);
        clickEntry(FrmSelect1->File1, 4, true);
        QCOMPARE(viewerShows(), names[4]);
        QCOMPARE(int(Module1.CurIndex1), 4);
    }

    // Cancel only hides the chooser; brought back, or its mode pressed again, it is as it was.
    // Another folder, opened by a double-click, clears the selection and the preview; a file
    // that cannot be previewed is reported and can still be opened.
    void cancelKeepsTheSelectionAnotherFolderClearsIt() {
        TestDesktop::writePictures(pics, 3);
        const QString more = desktop->folderWith("home/pics/more", 2);
        TestDesktop::writeFile(more + "/bad.jpg", "no picture in here");
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(pics);
        clickEntry(FrmSelect1->File1, 2);
        const QImage preview = FrmSelect1->Picture1.image();
        click(&FrmSelect1->Command2);
        QVERIFY(!FrmSelect1->isVisible());
        click(&Form1->CmdShow1);
        const QPoint where = FrmSelect1->pos();
        click(&Form1->CmdShow1);
        QCOMPARE(FrmSelect1->pos(), where);
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 2);
        QCOMPARE(FrmSelect1->Picture1.image(), preview);
        QVERIFY(FrmSelect1->Command1.isEnabled());

        QListWidget& dirs = FrmSelect1->Dir1;
        clickEntry(dirs, dirs.row(dirs.findItems("more", Qt::MatchEndsWith).value(0)), true);
        QCOMPARE(FrmSelect1->Dir1.path(), more);
        QCOMPARE(FrmSelect1->File1.selectedIndex(), -1);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        QVERIFY(paintedRect(FrmSelect1->Picture1).isEmpty());
        clickEntry(FrmSelect1->File1, 0);
        QVERIFY(desktop->shownOnce("Load Error", "bad.jpg"));
        QVERIFY(paintedRect(FrmSelect1->Picture1).isEmpty());
        QVERIFY(FrmSelect1->Command1.isEnabled());
    }

    // One fit setting shown by three boxes: ticking or unticking any one does the others, and
    // the viewer draws the next picture (only) accordingly.
    void theThreeFitBoxesMoveTogether() {
        TestDesktop::writePicture(pics + "/wide.bmp", 200, 100);
        useWorkArea();
        FrmShow1->LoadControl1(pics + "/wide.bmp", "wide.bmp", 1);
        platform::CheckBox* boxes[] = {&FrmSelect1->Check1, &FrmSelect12->Check1, &FrmSelectSld->Check3};
        platform::CommandButton* modes[] = {&Form1->CmdShow1, &Form1->CmdShow12, &Form1->CmdSld};
        for (int i = 0; i < 3; ++i) {
            click(modes[i]);
            const QRect before = FrmShow1->Picture1.geometry();
            click(boxes[i]);
            for (auto* box : boxes) QCOMPARE(box->value(), (i + 1) % 2);
            QCOMPARE(FrmShow1->Picture1.geometry(), before);
            FrmShow1->LoadControl1(pics + "/wide.bmp", "wide.bmp", 1);
            QCOMPARE(FrmShow1->Picture1.geometry(), i % 2 ? QRect(412, 311, 200, 100) : QRect(0, 0, 1024, 722));
        }
    }
};

QTEST_MAIN(FileChooserTest)
#include "tst_file_chooser.moc"
