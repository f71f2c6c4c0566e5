// The picture viewer: fitted and natural-size drawing over the work area, its caption, closing
// it through its frame, and pictures that cannot be loaded.
#include "tests/support/fixture.h"

namespace {
const QColor kRed(200, 40, 40);
// The caption of mode 1 (a single picture or a slideshow) and of mode 12 (a thumbnail), before
// the file name.
const QString kLongCaption =
    QStringLiteral(" Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   ");
const QString kShortCaption = QStringLiteral(" Orlin-Tessary     クリック→閉じる   ");
}  // namespace

class PictureViewerTest : public DesktopTest {
    Q_OBJECT
    void prepare() override { useWorkArea(); }

private slots:
    // Fitted, a picture touches two edges of the work area and is centred on the other axis;
    // at natural size it is centred, halves dropped, and may be cut off.
    void aPictureIsDrawnOverTheWorkArea_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QRect>("drawn");  // inside the box
        const QRect work(0, 0, 1024, 722);
        QTest::newRow("800×600, taller") << "a.bmp" << QSize(800, 600) << true << work << QRect(31, 0, 962, 722);
        QTest::newRow("1600×400, wider") << "b.bmp" << QSize(1600, 400) << true << work << QRect(0, 233, 1024, 256);
        QTest::newRow("32×32 icon, enlarged") << "c.ico" << QSize(32, 32) << true << work << QRect(151, 0, 722, 722);
        QTest::newRow("the work area's ratio") << "d.bmp" << QSize(1024, 722) << true << work << work;
        QTest::newRow("1000×751, odd spare width") << "e.bmp" << QSize(1000, 751) << true << work << QRect(31, 0, 961, 722);
        QTest::newRow("300×900 JPEG") << "f.jpg" << QSize(300, 900) << true << work << QRect(392, 0, 240, 722);
        QTest::newRow("natural 2000×1500, cut off")
            << "g.bmp" << QSize(2000, 1500) << false << QRect(-488, -389, 2000, 1500) << QRect(0, 0, 2000, 1500);
        QTest::newRow("natural 41×31, halves dropped")
            << "h.bmp" << QSize(41, 31) << false << QRect(492, 346, 41, 31) << QRect(0, 0, 41, 31);
    }
    void aPictureIsDrawnOverTheWorkArea() {
        QFETCH(QString, name);
        QFETCH(QSize, natural);
        QFETCH(bool, fit);
        QFETCH(QRect, box);
        QFETCH(QRect, drawn);
        TestDesktop::writePicture(pics + "/" + name, natural.width(), natural.height(), kRed);
        FrmSelectSld->Check3.setValue(fit);
        FrmShow1->LoadControl1(pics + "/" + name, name, 1);
        QVERIFY(FrmShow1->isVisible() && FrmShow1->Picture1.isVisible());
        QCOMPARE(FrmShow1->caption(), kLongCaption + name);
        QCOMPARE(FrmShow1->Picture1.geometry(), box);
        QCOMPARE(FrmShow1->Picture1.image().size(), box.size());
        QCOMPARE(paintedRect(FrmShow1->Picture1), drawn);
        QVERIFY(filledWith(FrmShow1->Picture1.image(), drawn, kRed));
        if (fit) QVERIFY(!FrmShow1->Picture2.hasPicture());  // the scratch copy is let go
    }

    // Closing through the frame destroys the viewer, resets navigation, leaves the show's timer
    // alone and selects the chooser's fourth file, when there is one.
    void closingThroughTheFrameSelectsTheFourthFile_data() {
        QTest::addColumn<int>("files");
        QTest::newRow("6 files") << 6;
        QTest::newRow("3 files") << 3;
    }
    void closingThroughTheFrameSelectsTheFourthFile() {
        QFETCH(int, files);
        const QStringList names = TestDesktop::writePictures(pics, files);
        openSingle(pics, 0);
        FrmSelect1->Dir1.setPath(desktop->home());  // nothing selected in the chooser
        FrmSelect1->Dir1.setPath(pics);
        allNavigationOn();
        FrmSelectSld->Timer1.setInterval(60000);
        FrmSelectSld->Timer1.setRunning(true);
        FrmShow1->closeByFrame();
        QVERIFY(!FrmShow1.exists());
        QVERIFY(!FrmShow1->isVisible() && FrmShow1->caption().isEmpty());  // made again, fresh
        for (auto* b : navigationButtons()) QVERIFY(!b->isEnabled());
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(int(Module1.Prev12Saved), 0);
        QVERIFY(!FrmSelectSld->Timer1.running());  // a show ends with its window
        const bool fourth = files >= 4;
        QCOMPARE(FrmSelect1->File1.selectedIndex(), fourth ? 3 : -1);
        QCOMPARE(FrmSelect1->Command1.isEnabled(), fourth);
        QCOMPARE(paintedRect(FrmSelect1->Picture1).isEmpty(), !fourth);
        if (fourth) QCOMPARE(Module1.CurFile1, pics + "/" + names[3]);
    }

    // A picture that cannot be loaded is reported once, and the viewer keeps what it showed.
    void anUnloadablePictureLeavesTheViewerAsItWas_data() {
        QTest::addColumn<int>("fit");
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::addColumn<bool>("shownBefore");
        QTest::newRow("not a picture, natural size") << 0 << QByteArray("not a picture at all") << true;
        QTest::newRow("missing, fitted") << 1 << QByteArray() << true;
        QTest::newRow("damaged, fitted") << 1 << damagedBmp() << true;
        QTest::newRow("damaged, viewer hidden") << 0 << damagedBmp() << false;
    }
    void anUnloadablePictureLeavesTheViewerAsItWas() {
        QFETCH(int, fit);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shownBefore);
        TestDesktop::writePicture(pics + "/good.bmp", 300, 200, kRed);
        if (!bytes.isNull()) TestDesktop::writeFile(pics + "/bad.jpg", bytes);
        FrmSelectSld->Check3.setValue(fit);
        FrmShow1->LoadControl1(pics + "/good.bmp", "good.bmp", 1);
        if (!shownBefore) click(&FrmShow1->Picture1);
        const QString caption = FrmShow1->caption();
        const QRect geometry = FrmShow1->Picture1.geometry();
        const QImage image = FrmShow1->Picture1.image();
        FrmShow1->LoadControl1(pics + "/bad.jpg", "bad.jpg", 12);
        QVERIFY(desktop->shownOnce("Load Error", "bad.jpg"));
        QCOMPARE(FrmShow1->isVisible(), shownBefore);
        QCOMPARE(FrmShow1->caption(), caption);
        QCOMPARE(FrmShow1->Picture1.geometry(), geometry);
        QCOMPARE(FrmShow1->Picture1.image(), image);
        FrmShow1->LoadControl1(pics + "/good.bmp", "good.bmp", 12);  // the next shows as usual
        QVERIFY(FrmShow1->isVisible());
        QCOMPARE(FrmShow1->caption(), kShortCaption + "good.bmp");
    }
};

QTEST_MAIN(PictureViewerTest)
#include "tst_picture_viewer.moc"
