// The thumbnail grid: pictures fitted into the 93-pixel cells, paging by twelve with the control
// window's buttons and the grid's keys, pictures that cannot be loaded, and starting the grid
// again.
#include <QImageWriter>

#include "tests/support/fixture.h"

namespace {
const QColor kRed(200, 40, 40);
const QString kShortCaption = QStringLiteral(" Orlin-Tessary     クリック→閉じる   ");
platform::PictureBox& cell(int i) { return *FrmShow12->Picture1[i]; }
QString captionOf(int i) { return FrmShow12->Label1[i]->caption(); }
}  // namespace

class ThumbnailGridTest : public DesktopTest {
    Q_OBJECT
    QStringList names;

    void showGridOf(const QString& folder) {
        openGrid(folder);
        QVERIFY(!FrmSelect12->isVisible() && FrmShow12->isVisible());
    }

    // The page that starts at first: its thumbnails and captions, blanks after the last file,
    // and the page buttons as the position allows.
    void verifyPage(int first) {
        QCOMPARE(int(Module1.CurIndex12), first);
        for (int j = 0; j < ThumbnailGrid::kPage; ++j) {
            const bool used = first + j < names.size();
            QCOMPARE(captionOf(j), used ? names[first + j] : QString());
            QCOMPARE(paintedRect(cell(j)), used ? QRect(0, 12, 93, 69) : QRect());  // 40 × 30 pictures
            if (used) QVERIFY(sameColour(cell(j).image().pixel(46, 46), colourOfPicture(first + j), 8));
        }
        QCOMPARE(Form1->CmdNext12.isEnabled(), names.size() - first > 12);
        QCOMPARE(Module1.Next12Saved, names.size() - first > 12);
        QCOMPARE(Form1->CmdPrev12.isEnabled(), first > 0);
    }

private slots:
    void aPictureFillsTheWidthOrTheHeightOfItsCell_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("640×480, wider") << QSize(640, 480) << QRect(0, 12, 93, 69);
        QTest::newRow("480×640, higher") << QSize(480, 640) << QRect(12, 0, 69, 93);
        QTest::newRow("500×500, square") << QSize(500, 500) << QRect(0, 0, 93, 93);
        QTest::newRow("300×200, odd row below") << QSize(300, 200) << QRect(0, 15, 93, 62);
        QTest::newRow("20×10, enlarged") << QSize(20, 10) << QRect(0, 23, 93, 46);
    }
    void aPictureFillsTheWidthOrTheHeightOfItsCell() {
        QFETCH(QSize, natural);
        QFETCH(QRect, drawn);
        TestDesktop::writePicture(pics + "/one.jpg", natural.width(), natural.height(), kRed);
        showGridOf(pics);
        for (int i = 0; i < ThumbnailGrid::kPage; ++i) QCOMPARE(cell(i).image().size(), QSize(93, 93));
        QCOMPARE(paintedRect(cell(0)), drawn);
        QVERIFY(filledWith(cell(0).image(), drawn.adjusted(1, 1, -1, -1), kRed, 10));
        QCOMPARE(captionOf(0), QString("one.jpg"));
        QVERIFY(!FrmShow12->Picture2.hasPicture());
    }

    // A reduction averages what it covers: a 1-pixel checkerboard becomes an even grey, where
    // picking pixels would leave black and white.
    void aReducedCheckerboardComesOutEvenGrey_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("24-bit") << QImage::Format_RGB32;
        QTest::newRow("8-bit palette") << QImage::Format_Indexed8;
        QTest::newRow("1-bit") << QImage::Format_Mono;
    }
    void aReducedCheckerboardComesOutEvenGrey() {
        QFETCH(QImage::Format, format);
        QImage board(400, 400, QImage::Format_RGB32);
        for (int y = 0; y < 400; ++y) {
            for (int x = 0; x < 400; ++x) board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
        QVERIFY(QImageWriter(pics + "/board.bmp", "bmp").write(board.convertToFormat(format)));
        showGridOf(pics);
        QVERIFY(filledWith(cell(0).image(), QRect(0, 0, 93, 93), QColor(128, 128, 128), 20));
    }

    // Paging with the control window's buttons or with the grid's own keys; keys past either
    // end and a click on a blank cell change nothing.
    void pagingMovesByTwelve_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("byKeys");
        for (int files : {13, 24, 25}) {
            QTest::addRow("%d files, buttons", files) << files << false;
            QTest::addRow("%d files, keys", files) << files << true;
        }
    }
    void pagingMovesByTwelve() {
        QFETCH(int, files);
        QFETCH(bool, byKeys);
        names = TestDesktop::writePictures(pics, files);
        showGridOf(pics);
        QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace);
        verifyPage(0);
        int first = 0;
        for (; files - first > 12; first += 12) {
            byKeys ? QTest::keyClick(&cell(5), Qt::Key_Return) : click(&Form1->CmdNext12);
            verifyPage(first + 12);
        }
        QTest::keyClick(FrmShow12.get(), Qt::Key_Return);
        if (files % 12) click(&cell(11));
        QVERIFY(!FrmShow1->isVisible());
        verifyPage(first);
        for (; first > 0; first -= 12) {
            byKeys ? QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace) : click(&Form1->CmdPrev12);
            verifyPage(first - 12);
        }
        QCOMPARE(int(Module1.Prev12Saved), 0);
    }

    void aFileThatCannotBeLoadedLeavesABlankCellAndThePageGoesOn_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a picture") << QByteArray("not a picture");
        QTest::newRow("sound header, missing pixels") << damagedBmp();
    }
    void aFileThatCannotBeLoadedLeavesABlankCellAndThePageGoesOn() {
        QFETCH(QByteArray, bytes);
        names = TestDesktop::writePictures(pics, 5);
        TestDesktop::writeFile(pics + "/pic03.bmp", bytes);
        showGridOf(pics);
        QVERIFY(desktop->shownOnce("Load Error", "pic03.bmp"));
        for (int j = 0; j < 5; ++j) {
            QCOMPARE(captionOf(j), names[j]);
            QCOMPARE(paintedRect(cell(j)).isEmpty(), j == 2);
        }
        QVERIFY(!FrmShow12->Picture2.hasPicture());
    }

    // Started again on another folder, a drive's root, the grid forgets the first list and
    // begins at the first page; a thumbnail opened from it shows the file from that folder.
    void theGridStartedAgainOnADrivesRoot() {
        TestDesktop::writePictures(pics, 25);
        openGrid(pics, 1);
        names = TestDesktop::writePictures(desktop->root(), 3);
        showGridOf(desktop->root());
        QCOMPARE(Module1.DirPath12, desktop->root() + "/");
        QCOMPARE(int(Module1.FileCount12), 3);
        verifyPage(0);
        click(&cell(2));
        QCOMPARE(FrmShow1->caption(), kShortCaption + names[2]);
        QTest::keyClick(FrmShow12.get(), Qt::Key_Return);  // no page to go to while it is open
        QTest::keyClick(FrmShow1.get(), Qt::Key_Backspace);
        click(&FrmShow1->Picture1);
        verifyPage(0);
    }
};

QTEST_MAIN(ThumbnailGridTest)
#include "tst_thumbnail_grid.moc"
