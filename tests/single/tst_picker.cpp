// The drive, folder and file lists that every chooser shares, and each chooser's folder rule.
#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {
QStringList entries(const platform::FileList& list) {
    QStringList names;
    for (int i = 0; i < list.entryCount(); ++i) names << list.entry(i);
    return names;
}
}  // namespace

class PickerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;

private slots:
    void init() { desktop = std::make_unique<TestDesktop>(); }
    void cleanup() { desktop.reset(); }

    void theFileListShowsPicturesOnlyWhateverTheirCase() {
        const QString folder = desktop->folder("home/mixed");
        TestDesktop::writePicture(folder + "/photo.JPG", 8, 8);
        TestDesktop::writePicture(folder + "/photo.jpeg", 8, 8);
        TestDesktop::writePicture(folder + "/Icon.ICO", 8, 8);
        TestDesktop::writePicture(folder + "/anim.gif", 8, 8);
        TestDesktop::writePicture(folder + "/img10.bmp", 8, 8);
        TestDesktop::writePicture(folder + "/img2.bmp", 8, 8);
        TestDesktop::writePicture(folder + "/.hidden.bmp", 8, 8);
        TestDesktop::writeFile(folder + "/notes.txt", "not a picture");
        TestDesktop::writeFile(folder + "/photo.jpg.bak", "not a picture");
        QDir(folder).mkdir("sub.jpg");
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(folder);
        QCOMPARE(entries(FrmSelect1->File1),
                 QStringList({"anim.gif", "Icon.ICO", "img2.bmp", "img10.bmp", "photo.jpeg", "photo.JPG"}));
        QCOMPARE(FrmSelect1->File1.entry(6), QString());  // past the end
        QCOMPARE(FrmSelect1->File1.entry(-1), QString());
        QCOMPARE(FrmSelect1->File1.selectedIndex(), -1);
    }

    void namesWithSpacesAndJapaneseListAndOpen() {
        const QString folder = desktop->folder("home/写真 フォルダ");
        TestDesktop::writePicture(folder + "/夏の 海.bmp", 64, 48);
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(folder);
        QCOMPARE(entries(FrmSelect1->File1), QStringList{"夏の 海.bmp"});
        FrmSelect1->File1.setSelectedIndex(0);
        QCOMPARE(Module1.CurFile1, folder + "/夏の 海.bmp");
        click(&FrmSelect1->Command1);
        QVERIFY(desktop->messages.empty());
        QVERIFY(FrmShow1.exists());
        QVERIFY(FrmShow1->windowTitle().endsWith("夏の 海.bmp"));
    }

    void eachChooserAppliesItsRuleAfterAFolderChange() {
        const QString pics = desktop->folder("home/pics");
        const QString empty = desktop->folder("home/empty");
        TestDesktop::writePictures(pics, 2);
        TestDesktop::writeFile(empty + "/notes.txt", "text");
        desktop->startProgram();

        FrmSelect12->Dir1.setPath(pics);
        QVERIFY(FrmSelect12->Command1.isEnabled());
        FrmSelect12->Dir1.setPath(empty);
        QVERIFY(!FrmSelect12->Command1.isEnabled());
        FrmSelect12->Dir1.setPath(pics);
        QVERIFY(FrmSelect12->Command1.isEnabled());

        FrmSelectSld->Dir1.setPath(pics);
        QVERIFY(FrmSelectSld->Command1.isEnabled());
        FrmSelectSld->Dir1.setPath(empty);
        QVERIFY(!FrmSelectSld->Command1.isEnabled());
        FrmSelectSld->Text1.setText(QString());
        FrmSelectSld->Dir1.setPath(pics);
        QVERIFY(!FrmSelectSld->Command1.isEnabled());  // no interval

        FrmSelect1->Dir1.setPath(pics);
        FrmSelect1->File1.setSelectedIndex(0);
        QVERIFY(FrmSelect1->Command1.isEnabled());
        FrmSelect1->Dir1.setPath(empty);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        QCOMPARE(FrmSelect1->File1.entryCount(), 0);
    }

    void openingTheFolderAlreadyShownChangesNothing() {
        const QString pics = desktop->folder("home/pics");
        TestDesktop::writePictures(pics, 3);
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(pics);
        FrmSelect1->File1.setSelectedIndex(2);
        FrmSelect1->Dir1.setPath(pics + "/");
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 2);
        QVERIFY(FrmSelect1->Command1.isEnabled());
    }

    void theFolderListOpensAFolderOnDoubleClick() {
        const QString pics = desktop->folder("home/pics");
        TestDesktop::writePictures(pics, 1);
        desktop->startProgram();
        click(&Form1->CmdShow12);
        platform::FolderList& dir = FrmSelect12->Dir1;
        QListWidgetItem* item = dir.findItems("pics", Qt::MatchEndsWith).value(0);
        QVERIFY(item != nullptr);
        const QPoint at = dir.visualItemRect(item).center();
        QTest::mouseClick(dir.viewport(), Qt::LeftButton, {}, at);  // a double-click's first press
        QTest::mouseDClick(dir.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dir.path(), pics);
        QCOMPARE(FrmSelect12->File1.entryCount(), 1);
        QVERIFY(FrmSelect12->Command1.isEnabled());
    }

    void aDriveThatCannotBeReadIsReportedOnceAndChangesNothing() {
        const QString pics = desktop->folder("home/pics");
        TestDesktop::writePictures(pics, 2);
        const QString usb = desktop->addDrive("usb");
        desktop->startProgram();
        for (Chooser* chooser : std::initializer_list<Chooser*>{FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()}) {
            chooser->Dir1.setPath(pics);
        }
        const bool openBefore = FrmSelect12->Command1.isEnabled();
        QVERIFY(QDir(usb).removeRecursively());  // the volume vanished

        for (Chooser* chooser : std::initializer_list<Chooser*>{FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()}) {
            desktop->messages.clear();
            chooser->Drive1.setDrive(usb);
            QCOMPARE(desktop->messages.size(), size_t(1));
            QCOMPARE(desktop->messages[0].text, QString("Drive is not ready."));
            QCOMPARE(desktop->messages[0].title, QString("Read Error."));
            QCOMPARE(chooser->Drive1.drive(), usb);
            QCOMPARE(chooser->Dir1.path(), pics);
            QCOMPARE(chooser->File1.path(), pics);
            QCOMPARE(chooser->File1.entryCount(), 2);
        }
        QCOMPARE(FrmSelect12->Command1.isEnabled(), openBefore);
    }

    void aFolderThatVanishedIsReportedWhenOpened() {
        const QString pics = desktop->folder("home/pics");
        const QString gone = desktop->folder("home/gone");
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(desktop->home());
        QVERIFY(QDir(gone).removeRecursively());
        QListWidgetItem* item = FrmSelect1->Dir1.findItems("gone", Qt::MatchEndsWith).value(0);
        QVERIFY(item != nullptr);
        emit FrmSelect1->Dir1.itemActivated(item);
        QCOMPARE(desktop->messages.size(), size_t(1));
        QCOMPARE(desktop->messages[0].title, QString("Read Error."));
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        // A path that is a file, or does not exist, is refused by program too.
        TestDesktop::writeFile(pics + "/file.bmp", "x");
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/file.bmp"));
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/nowhere"));
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
    }

    void eachDriveRemembersItsCurrentFolder() {
        const QString usb = desktop->addDrive("usb");
        const QString deep = desktop->folder("usb/photos/2026");
        desktop->startProgram();
        FrmSelect1->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect1->Dir1.path(), usb);  // a drive first chosen opens at its root
        FrmSelect1->Dir1.setPath(deep);
        FrmSelect1->Drive1.setDrive(desktop->root());
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        // Another chooser choosing the drive goes to the folder last shown on it.
        FrmSelect12->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect12->Dir1.path(), deep);
    }

    void aHugeFolderListsItsFirst32767Pictures() {
        const QString big = desktop->folder("home/big");
        for (int i = 0; i < 32800; ++i) {
            QFile file(QString("%1/f%2.bmp").arg(big).arg(i, 5, 10, QLatin1Char('0')));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        desktop->startProgram();
        FrmSelect12->Dir1.setPath(big);
        QCOMPARE(FrmSelect12->File1.entryCount(), 32767);
        QCOMPARE(FrmSelect12->File1.entry(32766), QString("f32766.bmp"));
    }
};

QTEST_MAIN(PickerTest)
#include "tst_picker.moc"
