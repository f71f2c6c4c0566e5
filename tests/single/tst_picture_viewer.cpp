// The picture viewer: fitted and natural-size drawing over the work area, its captions, the
// Enter and Backspace keys, the two ways of closing it, and pictures that cannot be loaded.
#include <QBuffer>
#include <QImageWriter>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"
#include "tests/support/pixels.h"

namespace {
const QColor kRed(200, 40, 40);

// A BMP whose header is sound but whose palette and pixels are cut off.
void writeDamagedPicture(const QString& path) {
    QImage image(20, 10, QImage::Format_Indexed8);
    image.setColorCount(4);
    for (int i = 0; i < 4; ++i) image.setColor(i, qRgb(60 * i, 0, 0));
    image.fill(1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(image);
    TestDesktop::writeFile(path, buffer.data().left(60));
}

const char* const kLongCaption =
    " Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   ";
const char* const kShortCaption = " Orlin-Tessary     クリック→閉じる   ";
}  // namespace

class PictureViewerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    QString pics;

    // The program running over a 1024 × 722 work area.
    void start() {
        desktop->startProgram();
        Module1.WorkLeft = 0;
        Module1.WorkRight = 1024;
        Module1.WorkTop = 0;
        Module1.WorkBottom = 722;
    }
    // Single-picture mode over a folder of n pictures, showing the one at index.
    QStringList openSingle(int n, int index) {
        const QStringList names = TestDesktop::writePictures(pics, n);
        Module1.FileList1 = NewList(int16_t(n));
        for (int i = 0; i < n; ++i) Module1.FileList1[i] = names[i];
        Module1.FileCount1 = int16_t(n);
        Module1.DirPath1 = pics + "/";
        Module1.CurIndex1 = int16_t(index);
        FrmShow1->LoadControl1(pics + "/" + names[index], names[index], 1);
        return names;
    }

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        pics = desktop->folder("home/pics");
    }
    void cleanup() { desktop.reset(); }

    void fittedPictureTouchesTwoEdgesAndIsCentredOnTheOtherAxis_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("800×600, taller than the work area")
            << "a.bmp" << QSize(800, 600) << QRect(31, 0, 962, 722);
        QTest::newRow("1600×400, wider") << "b.bmp" << QSize(1600, 400) << QRect(0, 233, 1024, 256);
        QTest::newRow("32×32 icon, enlarged")
            << "c.ico" << QSize(32, 32) << QRect(151, 0, 722, 722);
        QTest::newRow("1024×722, the work area's ratio")
            << "d.bmp" << QSize(1024, 722) << QRect(0, 0, 1024, 722);
        QTest::newRow("1000×751, odd spare width")
            << "e.bmp" << QSize(1000, 751) << QRect(31, 0, 961, 722);
        QTest::newRow("300×900, tall") << "f.jpg" << QSize(300, 900) << QRect(392, 0, 240, 722);
    }
    void fittedPictureTouchesTwoEdgesAndIsCentredOnTheOtherAxis() {
        QFETCH(QString, name);
        QFETCH(QSize, natural);
        QFETCH(QRect, drawn);
        TestDesktop::writePicture(pics + "/" + name, natural.width(), natural.height(), kRed);
        start();
        FrmSelectSld->Check3.setValue(1);
        FrmShow1->LoadControl1(pics + "/" + name, name, 1);

        QVERIFY(desktop->messages.empty());
        QVERIFY(FrmShow1->isVisible());
        platform::PictureBox& box = FrmShow1->Picture1;
        QVERIFY(box.isVisible());
        QCOMPARE(box.geometry(), QRect(0, 0, 1024, 722));
        const QImage image = box.image();
        QCOMPARE(image.size(), QSize(1024, 722));
        QCOMPARE(paintedRect(box), drawn);
        QVERIFY(filledWith(image, drawn, kRed));
        QVERIFY(!FrmShow1->Picture2.hasPicture());  // the scratch copy is let go
    }

    void naturalSizePictureIsCentredOnTheWorkArea_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("2000×1500, cut off on every side")
            << QSize(2000, 1500) << QPoint(-488, -389);
        QTest::newRow("41×31, halves dropped") << QSize(41, 31) << QPoint(492, 346);
    }
    void naturalSizePictureIsCentredOnTheWorkArea() {
        QFETCH(QSize, natural);
        QFETCH(QPoint, topLeft);
        TestDesktop::writePicture(pics + "/big.bmp", natural.width(), natural.height(), kRed);
        start();
        QCOMPARE(FrmSelectSld->Check3.value(), 0);
        FrmShow1->LoadControl1(pics + "/big.bmp", "big.bmp", 1);

        QVERIFY(desktop->messages.empty());
        QVERIFY(FrmShow1->isVisible());
        QVERIFY(FrmShow1->Picture1.isVisible());
        QCOMPARE(FrmShow1->Picture1.geometry(), QRect(topLeft, natural));
        const QImage image = FrmShow1->Picture1.image();
        QCOMPARE(image.size(), natural);
        QVERIFY(filledWith(image, image.rect(), kRed));
    }

    void captionIsTheModeTextFollowedByTheFileName_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("mode 1") << 1 << QByteArray(kLongCaption) + "写真 1.bmp";
        QTest::newRow("mode 12") << 12 << QByteArray(kShortCaption) + "写真 1.bmp";
        QTest::newRow("other mode leaves the caption")
            << 7 << QByteArray(kShortCaption) + "before.bmp";
    }
    void captionIsTheModeTextFollowedByTheFileName() {
        QFETCH(int, mode);
        QFETCH(QByteArray, expected);
        TestDesktop::writePicture(pics + "/before.bmp", 20, 20);
        TestDesktop::writePicture(pics + "/写真 1.bmp", 20, 20);
        start();
        FrmShow1->LoadControl1(pics + "/before.bmp", "before.bmp", 12);
        FrmShow1->LoadControl1(pics + "/写真 1.bmp", "写真 1.bmp", int16_t(mode));
        QCOMPARE(FrmShow1->caption().toUtf8(), expected);
        QCOMPARE(QString::fromUtf8(kLongCaption).size(), 58);
        QCOMPARE(QString::fromUtf8(kShortCaption).size(), 30);
    }

    // Enter and Backspace press the single-picture button if it is enabled, else the
    // slideshow's, whether the key reaches the window or the picture box.
    void keysStepThroughTheEnabledButtonOnly_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("singleOn");
        QTest::addColumn<bool>("slideOn");
        QTest::addColumn<bool>("toPicture");
        QTest::addColumn<int>("index1");
        QTest::addColumn<int>("indexSld");
        const int enter = Qt::Key_Return, back = Qt::Key_Backspace;
        QTest::newRow("Enter, both enabled") << enter << true << true << false << 2 << 1;
        QTest::newRow("Enter to the picture, both enabled")
            << enter << true << true << true << 2 << 1;
        QTest::newRow("Enter, slideshow only") << enter << false << true << true << 1 << 2;
        QTest::newRow("Enter, neither") << enter << false << false << false << 1 << 1;
        QTest::newRow("Backspace, both enabled") << back << true << true << true << 0 << 1;
        QTest::newRow("Backspace, slideshow only") << back << false << true << false << 1 << 0;
        QTest::newRow("Backspace, neither") << back << false << false << true << 1 << 1;
        QTest::newRow("another key") << int(Qt::Key_A) << true << true << true << 1 << 1;
    }
    void keysStepThroughTheEnabledButtonOnly() {
        QFETCH(int, key);
        QFETCH(bool, singleOn);
        QFETCH(bool, slideOn);
        QFETCH(bool, toPicture);
        QFETCH(int, index1);
        QFETCH(int, indexSld);
        start();
        const QStringList names = openSingle(3, 1);
        Module1.FileListSld = Module1.FileList1;
        Module1.FileCountSld = 3;
        Module1.DirPathSld = Module1.DirPath1;
        Module1.CurIndexSld = 1;
        Form1->CmdNext1.setEnabled(singleOn);
        Form1->CmdPrev1.setEnabled(singleOn);
        Form1->CmdNextSld.setEnabled(slideOn);
        Form1->CmdPrevSld.setEnabled(slideOn);

        QWidget* target = toPicture ? static_cast<QWidget*>(&FrmShow1->Picture1) : FrmShow1.get();
        QTest::keyClick(target, Qt::Key(key));

        QCOMPARE(int(Module1.CurIndex1), index1);
        QCOMPARE(int(Module1.CurIndexSld), indexSld);
        const int shown = index1 != 1 ? index1 : indexSld;
        QVERIFY(FrmShow1->caption().endsWith(names[shown]));
        QCOMPARE(FrmSelectSld->Timer1.running(), indexSld != 1);
        QVERIFY(desktop->messages.empty());
    }

    void aClickClosesTheViewerAndGivesBackSavedPageButtons_data() {
        QTest::addColumn<bool>("onPicture");
        QTest::addColumn<bool>("next12Saved");
        QTest::addColumn<int>("prev12Saved");
        QTest::addColumn<bool>("next12Before");
        QTest::addColumn<bool>("next12After");
        QTest::addColumn<bool>("prev12After");
        QTest::newRow("picture, both saved") << true << true << -1 << false << true << true;
        QTest::newRow("window, both saved") << false << true << -1 << false << true << true;
        QTest::newRow("picture, next saved") << true << true << 0 << false << true << false;
        QTest::newRow("window, prev saved") << false << false << -1 << false << false << true;
        QTest::newRow("nothing saved keeps a disabled button")
            << true << false << 0 << false << false << false;
        QTest::newRow("nothing saved keeps an enabled button")
            << false << false << 0 << true << true << false;
    }
    void aClickClosesTheViewerAndGivesBackSavedPageButtons() {
        QFETCH(bool, onPicture);
        QFETCH(bool, next12Saved);
        QFETCH(int, prev12Saved);
        QFETCH(bool, next12Before);
        QFETCH(bool, next12After);
        QFETCH(bool, prev12After);
        start();
        openSingle(3, 1);
        for (auto* b : {&Form1->CmdNext1, &Form1->CmdPrev1, &Form1->CmdNextSld, &Form1->CmdPrevSld,
                        &Form1->CmdBrkSld}) {
            b->setEnabled(true);
        }
        Form1->CmdBrkSld.setCaption("再開");
        Form1->CmdNext12.setEnabled(next12Before);
        Form1->CmdPrev12.setEnabled(false);
        Module1.Next12Saved = next12Saved;
        Module1.Prev12Saved = int16_t(prev12Saved);
        FrmSelectSld->Timer1.setInterval(60000);
        FrmSelectSld->Timer1.setRunning(true);
        QVERIFY(FrmShow1->Picture1.geometry().left() > 2);  // room to click beside the picture

        if (onPicture) {
            click(&FrmShow1->Picture1);
        } else {
            click(FrmShow1.get(), QPoint(2, 2));
        }

        QVERIFY(!FrmShow1->isVisible());
        QVERIFY(FrmShow1.exists());
        QCOMPARE(Form1->CmdNext12.isEnabled(), next12After);
        QCOMPARE(Form1->CmdPrev12.isEnabled(), prev12After);
        for (auto* b : {&Form1->CmdNext1, &Form1->CmdPrev1, &Form1->CmdNextSld, &Form1->CmdPrevSld,
                        &Form1->CmdBrkSld}) {
            QVERIFY(!b->isEnabled());
        }
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("再開"));
        QVERIFY(!FrmSelectSld->Timer1.running());
        QCOMPARE(Module1.Next12Saved, next12Saved);  // kept for the next close
        QCOMPARE(int(Module1.Prev12Saved), prev12Saved);
    }

    // Closing through the frame resets navigation and selects the chooser's fourth file.
    void closingThroughTheFrameSelectsTheFourthFile_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("selected");
        QTest::newRow("4 files") << 4 << 3;
        QTest::newRow("6 files") << 6 << 3;
        QTest::newRow("3 files") << 3 << -1;
        QTest::newRow("1 file") << 1 << -1;
    }
    void closingThroughTheFrameSelectsTheFourthFile() {
        QFETCH(int, files);
        QFETCH(int, selected);
        start();
        const QStringList names = openSingle(files, 0);
        FrmSelect1->Dir1.setPath(pics);
        QVERIFY(!FrmSelect1->Command1.isEnabled());
        for (auto* b : {&Form1->CmdNext1, &Form1->CmdPrev1, &Form1->CmdNext12, &Form1->CmdPrev12,
                        &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld}) {
            b->setEnabled(true);
        }
        Module1.Next12Saved = true;
        Module1.Prev12Saved = -1;
        FrmSelectSld->Timer1.setInterval(60000);
        FrmSelectSld->Timer1.setRunning(true);

        FrmShow1->closeByFrame();

        QVERIFY(!FrmShow1.exists());
        for (auto* b : {&Form1->CmdNext1, &Form1->CmdPrev1, &Form1->CmdNext12, &Form1->CmdPrev12,
                        &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld}) {
            QVERIFY(!b->isEnabled());
        }
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(int(Module1.Prev12Saved), 0);
        QVERIFY(FrmSelectSld->Timer1.running());  // this path leaves the show's timer alone
        QCOMPARE(FrmSelect1->File1.selectedIndex(), selected);
        QCOMPARE(FrmSelect1->Command1.isEnabled(), selected >= 0);
        const QRect painted = paintedRect(FrmSelect1->Picture1);
        if (selected >= 0) {
            QCOMPARE(Module1.CurFileName1, names[selected]);
            QCOMPARE(Module1.CurFile1, pics + "/" + names[selected]);
            QVERIFY(!painted.isEmpty());
        } else {
            QVERIFY(painted.isEmpty());
        }
        QVERIFY(desktop->messages.empty());
    }

    // A picture that cannot be loaded is reported once, and the viewer keeps what it showed.
    void anUnloadablePictureLeavesTheViewerAsItWas_data() {
        QTest::addColumn<int>("fit");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("shownBefore");
        for (int fit : {0, 1}) {
            for (const char* kind : {"not a picture", "missing", "damaged"}) {
                QTest::addRow("%s, fit %d", kind, fit) << fit << QString(kind) << true;
            }
            QTest::addRow("damaged, fit %d, viewer hidden", fit)
                << fit << QString("damaged") << false;
        }
    }
    void anUnloadablePictureLeavesTheViewerAsItWas() {
        QFETCH(int, fit);
        QFETCH(QString, kind);
        QFETCH(bool, shownBefore);
        TestDesktop::writePicture(pics + "/good.bmp", 300, 200, kRed);
        const QString bad = pics + "/bad.jpg";
        if (kind == "not a picture") TestDesktop::writeFile(bad, "this is not a picture at all");
        if (kind == "damaged") writeDamagedPicture(bad);
        start();
        FrmSelectSld->Check3.setValue(fit);
        FrmShow1->LoadControl1(pics + "/good.bmp", "good.bmp", 1);
        if (!shownBefore) click(&FrmShow1->Picture1);
        QCOMPARE(FrmShow1->isVisible(), shownBefore);
        const QString caption = FrmShow1->caption();
        const QRect geometry = FrmShow1->Picture1.geometry();
        const QImage image = FrmShow1->Picture1.image();

        FrmShow1->LoadControl1(bad, "bad.jpg", 12);

        QCOMPARE(desktop->messages.size(), size_t(1));
        QCOMPARE(desktop->messages[0].title, QString("Load Error"));
        QVERIFY2(desktop->messages[0].text.contains("bad.jpg"),
                 qPrintable(desktop->messages[0].text));
        QCOMPARE(FrmShow1->isVisible(), shownBefore);
        QCOMPARE(FrmShow1->caption(), caption);
        QCOMPARE(FrmShow1->Picture1.geometry(), geometry);
        QCOMPARE(FrmShow1->Picture1.image(), image);

        // The next good picture shows as usual.
        FrmShow1->LoadControl1(pics + "/good.bmp", "good.bmp", 12);
        QCOMPARE(desktop->messages.size(), size_t(1));
        QVERIFY(FrmShow1->isVisible());
        QCOMPARE(FrmShow1->caption(), QString::fromUtf8(kShortCaption) + "good.bmp");
    }
};

QTEST_MAIN(PictureViewerTest)
#include "tst_picture_viewer.moc"
