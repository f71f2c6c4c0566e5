// The thumbnail grid and its folder chooser: pictures fitted into the 93-pixel cells, paging by
// twelve with the control window's buttons and the grid's keys, opening a thumbnail in the
// viewer and coming back, pictures that cannot be loaded, and closing the grid.
#include <QBuffer>
#include <QImageWriter>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/picture_viewer.h"
#include "tests/support/fixture.h"
#include "tests/support/pixels.h"

namespace {
const QColor kRed(200, 40, 40);

platform::PictureBox& cell(int i) { return *FrmShow12->Picture1[i]; }
QString captionOf(int i) { return FrmShow12->Label1[i]->caption(); }

const QString kShortCaption = QStringLiteral(" Orlin-Tessary     クリック→閉じる   ");
}  // namespace

class ThumbnailGridTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    QString pics;
    QStringList names;

    // Thumbnail mode started on a folder from its chooser.
    void showGridOf(const QString& folder) {
        desktop->startProgram();
        click(&Form1->CmdShow12);
        FrmSelect12->Dir1.setPath(folder);
        QVERIFY(FrmSelect12->Command1.isEnabled());
        click(&FrmSelect12->Command1);
        QVERIFY(!FrmSelect12->isVisible());
        QVERIFY(FrmShow12->isVisible());
    }

    // The page that starts at first: its thumbnails and captions, blanks after the last file,
    // and the page buttons as the position allows.
    void verifyPage(int first) {
        QCOMPARE(int(Module1.CurIndex12), first);
        for (int j = 0; j < ThumbnailGrid::kCells; ++j) {
            const int k = first + j;
            if (k < names.size()) {
                QCOMPARE(captionOf(j), names[k]);
                QCOMPARE(paintedRect(cell(j)), QRect(0, 12, 93, 69));  // 40 × 30 pictures
                QVERIFY(sameColour(cell(j).image().pixel(46, 46), colourOfPicture(k), 8));
            } else {
                QCOMPARE(captionOf(j), QString());
                QVERIFY(paintedRect(cell(j)).isEmpty());
            }
        }
        QCOMPARE(Form1->CmdNext12.isEnabled(), names.size() - first > 12);
        QCOMPARE(Module1.Next12Saved, names.size() - first > 12);
        QCOMPARE(Form1->CmdPrev12.isEnabled(), first > 0);
    }

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        pics = desktop->folder("home/pics");
    }
    void cleanup() { desktop.reset(); }

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
        for (int i = 0; i < ThumbnailGrid::kCells; ++i) {
            QCOMPARE(QSize(cell(i).scaleWidth(), cell(i).scaleHeight()), QSize(93, 93));
            QCOMPARE(cell(i).image().size(), QSize(93, 93));
        }
        QCOMPARE(paintedRect(cell(0)), drawn);
        QVERIFY(filledWith(cell(0).image(), drawn.adjusted(1, 1, -1, -1), kRed, 10));
        QCOMPARE(captionOf(0), QString("one.jpg"));
        QVERIFY(!FrmShow12->Picture2.hasPicture());
        QCOMPARE(int(Module1.FileCount12), 1);
        QCOMPARE(int(Module1.FileList12.size()), 2);
        QCOMPARE(Module1.FileList12[1], QString());
        QVERIFY(desktop->messages.empty());
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
            for (int x = 0; x < 400; ++x)
                board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
        QVERIFY(QImageWriter(pics + "/board.bmp", "bmp").write(board.convertToFormat(format)));
        showGridOf(pics);
        const QImage image = cell(0).image();
        QCOMPARE(image.size(), QSize(93, 93));
        int worst = 0;
        for (int y = 0; y < 93; ++y) {
            for (int x = 0; x < 93; ++x) {
                const QRgb p = image.pixel(x, y);
                for (int channel : {qRed(p), qGreen(p), qBlue(p)})
                    worst = std::max(worst, std::abs(channel - 128));
            }
        }
        QVERIFY2(worst <= 20, qPrintable(QString("a pixel is %1 away from grey").arg(worst)));
    }

    // Paging with the control window's buttons or with the grid's own keys.
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
        const auto next = [&] {
            if (byKeys) {
                QTest::keyClick(&cell(5), Qt::Key_Return);
            } else {
                click(&Form1->CmdNext12);
            }
        };
        const auto previous = [&] {
            if (byKeys) {
                QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace);
            } else {
                click(&Form1->CmdPrev12);
            }
        };
        verifyPage(0);
        if (byKeys) {
            QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace);  // nothing before the first page
            verifyPage(0);
        }
        int first = 0;
        while (files - first > 12) {
            next();
            first += 12;
            verifyPage(first);
        }
        if (byKeys) {
            QTest::keyClick(FrmShow12.get(), Qt::Key_Return);  // nothing after the last page
            verifyPage(first);
        }
        while (first > 0) {
            previous();
            first -= 12;
            verifyPage(first);
        }
        QCOMPARE(int(Module1.Prev12Saved), 0);
        QVERIFY(desktop->messages.empty());
    }

    void clickingABlankCellChangesNothing() {
        names = TestDesktop::writePictures(pics, 13);
        showGridOf(pics);
        click(&Form1->CmdNext12);
        click(&cell(1));
        QVERIFY(!FrmShow1->isVisible());
        QVERIFY(!Form1->CmdNext12.isEnabled());
        QVERIFY(Form1->CmdPrev12.isEnabled());
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(int(Module1.Prev12Saved), 0);
        verifyPage(12);
    }

    // A thumbnail opens in the viewer with the page buttons put away; closing the viewer by a
    // click gives back the ones that were enabled.
    void aThumbnailOpensInTheViewerAndThePageButtonsComeBack_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("pages");  // ">>" pressed this often first
        QTest::newRow("first of three pages") << 25 << 0;
        QTest::newRow("middle page") << 25 << 1;
        QTest::newRow("last page") << 25 << 2;
        QTest::newRow("a single page") << 5 << 0;
    }
    void aThumbnailOpensInTheViewerAndThePageButtonsComeBack() {
        QFETCH(int, files);
        QFETCH(int, pages);
        names = TestDesktop::writePictures(pics, files);
        showGridOf(pics);
        for (int i = 0; i < pages; ++i) click(&Form1->CmdNext12);
        const bool nextBefore = Form1->CmdNext12.isEnabled();
        const bool prevBefore = Form1->CmdPrev12.isEnabled();
        const int first = 12 * pages;

        click(&cell(0));
        QVERIFY(FrmShow1->isVisible());
        QVERIFY(FrmShow12->isVisible());
        QCOMPARE(FrmShow1->caption(), kShortCaption + names[first]);
        QVERIFY(!Form1->CmdNext12.isEnabled());
        QVERIFY(!Form1->CmdPrev12.isEnabled());
        QCOMPARE(Module1.Next12Saved, nextBefore);
        QCOMPARE(int(Module1.Prev12Saved), prevBefore ? -1 : 0);
        QCOMPARE(int(Module1.CurIndex12), first);

        // Paging keys do nothing now, in the grid and in the viewer.
        QTest::keyClick(FrmShow12.get(), Qt::Key_Return);
        QTest::keyClick(FrmShow12.get(), Qt::Key_Backspace);
        QTest::keyClick(FrmShow1.get(), Qt::Key_Return);
        QCOMPARE(int(Module1.CurIndex12), first);
        QCOMPARE(FrmShow1->caption(), kShortCaption + names[first]);

        // A second thumbnail while the viewer is open keeps the saved states.
        const int second = first + 1 < files ? 1 : 0;
        click(&cell(second));
        QCOMPARE(FrmShow1->caption(), kShortCaption + names[first + second]);
        QCOMPARE(Module1.Next12Saved, nextBefore);
        QCOMPARE(int(Module1.Prev12Saved), prevBefore ? -1 : 0);

        click(&FrmShow1->Picture1);
        QVERIFY(!FrmShow1->isVisible());
        QCOMPARE(Form1->CmdNext12.isEnabled(), nextBefore);
        QCOMPARE(Form1->CmdPrev12.isEnabled(), prevBefore);
        verifyPage(first);
        QVERIFY(desktop->messages.empty());
    }

    void aFileThatCannotBeLoadedLeavesABlankCellAndThePageGoesOn_data() {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("not a picture") << false;
        QTest::newRow("sound header, missing pixels") << true;
    }
    void aFileThatCannotBeLoadedLeavesABlankCellAndThePageGoesOn() {
        QFETCH(bool, damaged);
        names = TestDesktop::writePictures(pics, 5);
        const QString bad = pics + "/pic03.bmp";
        if (damaged) {
            QImage image(20, 10, QImage::Format_Indexed8);
            image.setColorCount(4);
            for (int i = 0; i < 4; ++i) image.setColor(i, qRgb(60 * i, 0, 0));
            image.fill(1);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QImageWriter(&buffer, "bmp").write(image);
            TestDesktop::writeFile(bad, buffer.data().left(60));
        } else {
            TestDesktop::writeFile(bad, "not a picture");
        }
        showGridOf(pics);
        QCOMPARE(desktop->messages.size(), size_t(1));
        QCOMPARE(desktop->messages[0].title, QString("Load Error"));
        QVERIFY2(desktop->messages[0].text.contains("pic03.bmp"),
                 qPrintable(desktop->messages[0].text));
        for (int j = 0; j < 5; ++j) {
            QCOMPARE(captionOf(j), names[j]);
            QCOMPARE(paintedRect(cell(j)).isEmpty(), j == 2);
        }
        QVERIFY(!FrmShow12->Picture2.hasPicture());
    }

    void closingTheGridThroughItsFrameResetsNavigation() {
        names = TestDesktop::writePictures(pics, 25);
        showGridOf(pics);
        click(&Form1->CmdNext12);
        QVERIFY(Form1->CmdNext12.isEnabled() && Form1->CmdPrev12.isEnabled());
        FrmShow12->closeByFrame();
        QVERIFY(!FrmShow12.exists());
        for (auto* b : {&Form1->CmdNext1, &Form1->CmdPrev1, &Form1->CmdNext12, &Form1->CmdPrev12,
                        &Form1->CmdNextSld, &Form1->CmdPrevSld}) {
            QVERIFY(!b->isEnabled());
        }
        QVERIFY(!Module1.Next12Saved);
        QCOMPARE(int(Module1.Prev12Saved), 0);
        // Started again from the chooser, the grid comes back fresh at the first page.
        click(&Form1->CmdShow12);
        click(&FrmSelect12->Command1);
        verifyPage(0);
    }

    void showTwelveIsEnabledOnlyForAFolderWithPictures() {
        TestDesktop::writePictures(pics, 2);
        const QString notes = desktop->folder("home/notes");
        TestDesktop::writeFile(notes + "/notes.txt", "no pictures here");
        desktop->startProgram();
        click(&Form1->CmdShow12);
        QVERIFY(!FrmSelect12->Command1.isEnabled());  // the home folder has none
        FrmSelect12->Dir1.setPath(pics);
        QVERIFY(FrmSelect12->Command1.isEnabled());
        FrmSelect12->Dir1.setPath(notes);
        QVERIFY(!FrmSelect12->Command1.isEnabled());
        FrmSelect12->Dir1.setPath(pics);
        QVERIFY(FrmSelect12->Command1.isEnabled());
        click(&FrmSelect12->Command2);
        QVERIFY(!FrmSelect12->isVisible());
        QVERIFY(!FrmShow12->isVisible());
    }

    void theFolderPathEndsInOneSeparator_data() {
        QTest::addColumn<bool>("atRoot");
        QTest::newRow("a drive's root") << true;
        QTest::newRow("a folder below it") << false;
    }
    void theFolderPathEndsInOneSeparator() {
        QFETCH(bool, atRoot);
        const QString folder = atRoot ? desktop->root() : pics;
        names = TestDesktop::writePictures(folder, 3);
        showGridOf(folder);
        QCOMPARE(Module1.DirPath12, folder + "/");
        QVERIFY(!Module1.DirPath12.endsWith("//"));
        verifyPage(0);
        click(&cell(2));
        QCOMPARE(FrmShow1->caption(), kShortCaption + names[2]);
        QVERIFY(desktop->messages.empty());
    }

    void startingAgainOnAnotherFolderDiscardsTheFirstList() {
        TestDesktop::writePictures(pics, 25);
        const QString other = desktop->folder("home/other");
        showGridOf(pics);
        click(&Form1->CmdNext12);
        names = TestDesktop::writePictures(other, 3, "other");
        click(&Form1->CmdShow12);
        FrmSelect12->Dir1.setPath(other);
        click(&FrmSelect12->Command1);
        QCOMPARE(int(Module1.FileCount12), 3);
        QCOMPARE(int(Module1.FileList12.size()), 4);
        verifyPage(0);
    }
};

QTEST_MAIN(ThumbnailGridTest)
#include "tst_thumbnail_grid.moc"
