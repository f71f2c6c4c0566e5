// The picture file chooser: the preview of a clicked file, "開く" and what it hands to the
// viewer and the control window, the folder change, cancel, and the three fit boxes in step.
#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"
#include "tests/support/pixels.h"

namespace {
QColor centreColour(const platform::PictureBox& box) {
    const QImage image = box.image();
    return image.pixelColor(image.rect().center());
}

void clickEntry(platform::FileList& list, int i) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(i)).center());
}

// What the window system delivers for a double-click: a click, then the double-click.
void doubleClickEntry(QListWidget& list, int i) {
    const QPoint at = list.visualItemRect(list.item(i)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}

int rowOfFolder(const QListWidget& list, const QString& folder) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->data(Qt::UserRole).toString() == folder) return i;
    }
    return -1;
}
}  // namespace

class FileChooserTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    QString pics;
    QStringList names;

    // The chooser on show over a folder of n pictures.
    void openChooserOn(const QString& folder, int n) {
        names = TestDesktop::writePictures(folder, n);
        desktop->startProgram();
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(folder);
        QCOMPARE(FrmSelect1->File1.entryCount(), n);
    }

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        pics = desktop->folder("home/pics");
    }
    void cleanup() { desktop.reset(); }

    void clickingAFilePreviewsItAndEnablesOpen() {
        openChooserOn(pics, 3);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        QVERIFY(paintedRect(FrmSelect1->Picture1).isEmpty());
        clickEntry(FrmSelect1->File1, 1);
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 1);
        QVERIFY(FrmSelect1->Command1.isEnabled());
        QCOMPARE(Module1.CurFileName1, names[1]);
        QCOMPARE(Module1.CurFile1, pics + "/" + names[1]);
        // A 40 × 30 picture fills the 101-pixel width of the preview and is centred upright.
        QCOMPARE(FrmSelect1->Picture1.scaleWidth(), 101);
        QCOMPARE(paintedRect(FrmSelect1->Picture1), QRect(0, 13, 101, 75));
        QVERIFY(sameColour(centreColour(FrmSelect1->Picture1).rgb(), colourOfPicture(1), 8));
        QVERIFY(!FrmSelect1->Picture2.hasPicture());
        QVERIFY(!FrmShow1->isVisible());  // a click only previews
        QVERIFY(desktop->messages.empty());
    }

    void openingTakesTheListAndSetsTheStepButtons_data() {
        QTest::addColumn<bool>("atRoot");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("prev");
        QTest::newRow("first of 5") << false << 5 << 0 << true << false;
        QTest::newRow("third of 5") << false << 5 << 2 << true << true;
        QTest::newRow("last of 5") << false << 5 << 4 << false << true;
        QTest::newRow("the only file") << false << 1 << 0 << false << false;
        QTest::newRow("third of 5 at a drive's root") << true << 5 << 2 << true << true;
    }
    void openingTakesTheListAndSetsTheStepButtons() {
        QFETCH(bool, atRoot);
        QFETCH(int, files);
        QFETCH(int, index);
        QFETCH(bool, next);
        QFETCH(bool, prev);
        const QString folder = atRoot ? desktop->root() : pics;
        openChooserOn(folder, files);
        clickEntry(FrmSelect1->File1, index);
        click(&FrmSelect1->Command1);

        QCOMPARE(int(Module1.FileCount1), files);
        QCOMPARE(int(Module1.FileList1.size()), files + 1);
        for (int i = 0; i < files; ++i) QCOMPARE(Module1.FileList1[i], names[i]);
        QCOMPARE(Module1.FileList1[files], QString());
        QCOMPARE(Module1.DirPath1, folder + "/");
        QVERIFY(!Module1.DirPath1.endsWith("//"));
        QCOMPARE(int(Module1.CurIndex1), index);
        QCOMPARE(Module1.CurFile1, folder + "/" + names[index]);
        QCOMPARE(Form1->CmdNext1.isEnabled(), next);
        QCOMPARE(Form1->CmdPrev1.isEnabled(), prev);
        QVERIFY(FrmShow1->isVisible());
        QVERIFY(FrmShow1->caption().endsWith("Backspace→前画像   " + names[index]));
        QVERIFY(sameColour(centreColour(FrmShow1->Picture1).rgb(), colourOfPicture(index), 8));
        QVERIFY(FrmSelect1->isVisible());  // the chooser stays behind the viewer
        QVERIFY(FrmSelect1->Command1.isEnabled());
        QVERIFY(desktop->messages.empty());
    }

    void doubleClickingAFileOpensIt() {
        openChooserOn(pics, 4);
        doubleClickEntry(FrmSelect1->File1, 2);
        QVERIFY(FrmShow1.exists() && FrmShow1->isVisible());
        QVERIFY(FrmShow1->caption().endsWith(names[2]));
        QCOMPARE(int(Module1.CurIndex1), 2);
        QCOMPARE(int(Module1.FileCount1), 4);
        QVERIFY(Form1->CmdNext1.isEnabled() && Form1->CmdPrev1.isEnabled());
    }

    void openingAnotherFolderDisablesOpenAndEmptiesThePreview() {
        const QString other = desktop->folder("home/pics/more");
        TestDesktop::writePictures(other, 2, "other");
        openChooserOn(pics, 3);
        clickEntry(FrmSelect1->File1, 0);
        QVERIFY(!paintedRect(FrmSelect1->Picture1).isEmpty());
        QVERIFY(FrmSelect1->Command1.isEnabled());
        const int row = rowOfFolder(FrmSelect1->Dir1, other);
        QVERIFY(row >= 0);
        doubleClickEntry(FrmSelect1->Dir1, row);
        QCOMPARE(FrmSelect1->Dir1.path(), other);
        QCOMPARE(FrmSelect1->File1.entry(0), QString("other01.bmp"));
        QCOMPARE(FrmSelect1->File1.selectedIndex(), -1);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        QVERIFY(paintedRect(FrmSelect1->Picture1).isEmpty());
    }

    // The stepping buttons move through the list, but "開く" opens what the chooser has selected.
    void openingAgainShowsTheFileStillSelected() {
        openChooserOn(pics, 5);
        clickEntry(FrmSelect1->File1, 1);
        click(&FrmSelect1->Command1);
        click(&Form1->CmdNext1);
        click(&Form1->CmdNext1);
        QCOMPARE(int(Module1.CurIndex1), 3);
        QVERIFY(FrmShow1->caption().endsWith(names[3]));
        click(&FrmShow1->Picture1);
        QVERIFY(!FrmShow1->isVisible());
        QVERIFY(!Form1->CmdNext1.isEnabled() && !Form1->CmdPrev1.isEnabled());

        click(&FrmSelect1->Command1);
        QVERIFY(FrmShow1->isVisible());
        QCOMPARE(int(Module1.CurIndex1), 1);
        QCOMPARE(Module1.CurFile1, pics + "/" + names[1]);
        QVERIFY(FrmShow1->caption().endsWith("   " + names[1]));
        QVERIFY(sameColour(centreColour(FrmShow1->Picture1).rgb(), colourOfPicture(1), 8));
        QVERIFY(Form1->CmdNext1.isEnabled() && Form1->CmdPrev1.isEnabled());
    }

    void cancelHidesTheChooserAndKeepsItsSelection() {
        openChooserOn(pics, 3);
        clickEntry(FrmSelect1->File1, 2);
        const QImage preview = FrmSelect1->Picture1.image();
        click(&FrmSelect1->Command2);
        QVERIFY(!FrmSelect1->isVisible());
        QVERIFY(!FrmShow1->isVisible());
        click(&Form1->CmdShow1);
        QVERIFY(FrmSelect1->isVisible());
        QCOMPARE(FrmSelect1->Dir1.path(), pics);
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 2);
        QCOMPARE(FrmSelect1->Picture1.image(), preview);
        QVERIFY(FrmSelect1->Command1.isEnabled());
        QCOMPARE(Module1.CurFileName1, names[2]);
    }

    // One fit setting shown by three boxes: ticking any one ticks the others, and the viewer
    // draws the next picture fitted.
    void theThreeFitBoxesMoveTogether_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("picture file chooser") << 0;
        QTest::newRow("thumbnail folder chooser") << 1;
        QTest::newRow("slideshow setup") << 2;
    }
    void theThreeFitBoxesMoveTogether() {
        QFETCH(int, which);
        TestDesktop::writePicture(pics + "/wide.bmp", 200, 100);
        desktop->startProgram();
        Module1.WorkLeft = 0, Module1.WorkRight = 1024, Module1.WorkTop = 0,
        Module1.WorkBottom = 722;
        platform::CheckBox* boxes[] = {&FrmSelect1->Check1, &FrmSelect12->Check1,
                                       &FrmSelectSld->Check3};
        platform::CommandButton* modes[] = {&Form1->CmdShow1, &Form1->CmdShow12, &Form1->CmdSld};
        click(modes[which]);
        FrmShow1->LoadControl1(pics + "/wide.bmp", "wide.bmp", 1);
        const QRect natural = FrmShow1->Picture1.geometry();
        QCOMPARE(natural.size(), QSize(200, 100));

        click(boxes[which]);
        for (auto* box : boxes) QCOMPARE(box->value(), 1);
        QCOMPARE(FrmShow1->Picture1.geometry(), natural);  // nothing changes until the next picture
        FrmShow1->LoadControl1(pics + "/wide.bmp", "wide.bmp", 1);
        QCOMPARE(FrmShow1->Picture1.geometry(), QRect(0, 0, 1024, 722));
        QCOMPARE(paintedRect(FrmShow1->Picture1), QRect(0, 105, 1024, 512));

        click(boxes[which]);
        for (auto* box : boxes) QCOMPARE(box->value(), 0);
        FrmShow1->LoadControl1(pics + "/wide.bmp", "wide.bmp", 1);
        QCOMPARE(FrmShow1->Picture1.geometry(), natural);
    }

    void aFileThatCannotBeLoadedIsReportedAndCanStillBeOpened() {
        TestDesktop::writePicture(pics + "/a.bmp", 40, 30);
        TestDesktop::writeFile(pics + "/b.jpg", "no picture in here");
        desktop->startProgram();
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(pics);
        clickEntry(FrmSelect1->File1, 0);
        QVERIFY(!paintedRect(FrmSelect1->Picture1).isEmpty());
        clickEntry(FrmSelect1->File1, 1);
        QCOMPARE(desktop->messages.size(), size_t(1));
        QCOMPARE(desktop->messages[0].title, QString("Load Error"));
        QVERIFY(desktop->messages[0].text.contains("b.jpg"));
        QVERIFY(paintedRect(FrmSelect1->Picture1).isEmpty());
        QVERIFY(FrmSelect1->Command1.isEnabled());
        QCOMPARE(Module1.CurFile1, pics + "/b.jpg");
    }
};

QTEST_MAIN(FileChooserTest)
#include "tst_file_chooser.moc"
