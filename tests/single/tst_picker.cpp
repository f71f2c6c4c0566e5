// The drive, folder and file lists that every chooser shares, and each chooser's folder rule.
#include "tests/support/fixture.h"

namespace {
QList<Chooser*> choosers() { return {FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()}; }
}  // namespace

class PickerTest : public DesktopTest {
    Q_OBJECT

private slots:
    // Pictures only, by suffix in any case, in natural order; names with blanks and Japanese
    // list and open like any other.
    void theFileListShowsPicturesOnlyWhateverTheirCase() {
        const QString folder = desktop->folder("home/写真 フォルダ");
        for (const char* name : {"photo.JPG", "photo.jpeg", "Icon.ICO", "anim.gif", "img10.bmp", "img2.bmp",
                                 ".hidden.bmp", "夏の 海.bmp"}) {
            TestDesktop::writePicture(folder + "/" + QString::fromUtf8(name), 8, 8);
        }
        TestDesktop::writeFile(folder + "/notes.txt", "not a picture");
        TestDesktop::writeFile(folder + "/photo.jpg.bak", "not a picture");
        QDir(folder).mkdir("sub.jpg");
        FrmSelect1->Dir1.setPath(folder);
        QStringList entries;
        for (int i = 0; i < 8; ++i) entries << FrmSelect1->File1.entry(i);  // blank past the end
        QCOMPARE(entries, QStringList({"anim.gif", "Icon.ICO", "img2.bmp", "img10.bmp", "photo.jpeg",
                                       "photo.JPG", "夏の 海.bmp", ""}));
        QCOMPARE(FrmSelect1->File1.entry(-1), QString());
        QCOMPARE(FrmSelect1->File1.selectedIndex(), -1);
        FrmSelect1->File1.setSelectedIndex(6);
        QCOMPARE(Module1.CurFile1, folder + "/夏の 海.bmp");
        click(&FrmSelect1->Command1);
        QVERIFY(FrmShow1->windowTitle().endsWith("夏の 海.bmp"));
    }

    // The grid's and the show's start buttons need pictures in the folder (and the show an
    // interval); the file chooser's needs a selection, which a change of folder clears and
    // the folder already shown keeps.
    void eachChooserAppliesItsRuleAfterAFolderChange() {
        const QString empty = desktop->folder("home/empty");
        TestDesktop::writePictures(pics, 2);
        TestDesktop::writeFile(empty + "/notes.txt", "text");
        for (const QString& folder : {pics, empty, pics}) {
            FrmSelect12->Dir1.setPath(folder);
            FrmSelectSld->Dir1.setPath(folder);
            QCOMPARE(FrmSelect12->Command1.isEnabled(), folder == pics);
            QCOMPARE(FrmSelectSld->Command1.isEnabled(), folder == pics);
        }
        FrmSelectSld->Text1.setText(QString());
        FrmSelectSld->Dir1.setPath(empty);
        FrmSelectSld->Dir1.setPath(pics);
        QVERIFY(!FrmSelectSld->Command1.isEnabled());  // no interval
        FrmSelect1->Dir1.setPath(pics);
        FrmSelect1->File1.setSelectedIndex(1);
        FrmSelect1->Dir1.setPath(pics + "/");
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 1);
        QVERIFY(FrmSelect1->Command1.isEnabled());
        FrmSelect1->Dir1.setPath(empty);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        QCOMPARE(FrmSelect1->File1.entryCount(), 0);
    }

    // A drive that vanished, chosen in any chooser, or a folder that vanished, opened, is
    // reported once and changes nothing; a path that is a file or nothing is refused.
    void whatCannotBeReadIsReportedOnceAndChangesNothing() {
        TestDesktop::writePictures(pics, 2);
        const QString usb = desktop->addDrive("usb");
        for (Chooser* chooser : choosers()) chooser->Dir1.setPath(pics);
        QVERIFY(QDir(usb).removeRecursively());
        for (Chooser* chooser : choosers()) {
            chooser->Drive1.setDrive(usb);
            QVERIFY(desktop->shownOnce("Read Error.", "Drive is not ready."));
            QCOMPARE(chooser->Drive1.drive(), usb);
            QCOMPARE(chooser->Dir1.path(), pics);
            QCOMPARE(chooser->File1.path(), pics);
            QCOMPARE(chooser->File1.entryCount(), 2);
        }
        QVERIFY(FrmSelect12->Command1.isEnabled());

        const QString gone = desktop->folder("home/gone");
        FrmSelect1->Dir1.setPath(desktop->home());
        QVERIFY(QDir(gone).removeRecursively());
        emit FrmSelect1->Dir1.itemActivated(FrmSelect1->Dir1.findItems("gone", Qt::MatchEndsWith).value(0));
        QVERIFY(desktop->shownOnce("Read Error."));
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/pic01.bmp"));
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/nowhere"));
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
    }

    void eachDriveRemembersItsCurrentFolder() {
        const QString usb = desktop->addDrive("usb");
        const QString deep = desktop->folder("usb/photos/2026");
        TestDesktop::tearDownProgram();  // a run that starts with the drive there
        desktop->startProgram();
        FrmSelect1->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect1->Dir1.path(), usb);  // a drive first chosen opens at its root
        FrmSelect1->Dir1.setPath(deep);
        FrmSelect1->Drive1.setDrive(desktop->root());
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        FrmSelect12->Drive1.setDrive(usb);  // another chooser goes to the folder last shown there
        QCOMPARE(FrmSelect12->Dir1.path(), deep);
    }

    void aHugeFolderListsItsFirst32767Pictures() {
        const QString big = desktop->folder("home/big");
        for (int i = 0; i < 32800; ++i) {
            QFile file(QString("%1/f%2.bmp").arg(big).arg(i, 5, 10, QLatin1Char('0')));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        FrmSelect12->Dir1.setPath(big);
        QCOMPARE(FrmSelect12->File1.entryCount(), 32767);
        QCOMPARE(FrmSelect12->File1.entry(32766), QString("f32766.bmp"));
    }
};

QTEST_MAIN(PickerTest)
#include "tst_picker.moc"
