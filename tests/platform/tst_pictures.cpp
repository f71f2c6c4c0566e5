// Picture files as they come and as they are made to hurt: every corpus picture whole, cut
// short and with bytes flipped, and files made here (empty, claiming 65535 × 65535 pixels, one
// format under another's name), in a thumbnail cell and in the viewer, fitted and at natural
// size: each shows, or gives one "Load Error" naming it. Then orientation, icons, the
// averaging stretch, and files that change after the folder was listed.
#include <QDirIterator>
#include <QtEndian>
#include <random>

#include "tests/support/desktop.h"

namespace {
const QColor kBlue(0, 0, 230);
// The public corpora beside the clone; without them only the files made here are tried.
const QString kCorpora = [] {
    const QString folder = qEnvironmentVariable("TESSARY_CORPORA");
    if (folder.isEmpty() || !QDir(folder).exists())
        qWarning("no picture corpora at \"%s\"", qPrintable(folder));
    return folder.isEmpty() || !QDir(folder).exists() ? QString() : folder;
}();

// In a cell and in the viewer, fitted and at natural size: the "Load Error"s a file gave, or -1
// after anything else.
int errorsOf(TestDesktop& desktop, const QString& path) {
    int errors = 0;
    for (int place = 0; place < 3; ++place) {
        FrmSelectSld->Check3.setValue(place % 2);
        if (place == 2)
            ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        if (place < 2) FrmShow1->LoadControl1(path, QFileInfo(path).fileName(), 1);
        if (desktop.messages.isEmpty()) continue;
        if (!desktop.shownOnce("Load Error", "Cannot load " + QFileInfo(path).fileName() + ":"))
            return -1;
        ++errors;
    }
    return errors;
}

QImage twoColours(QSize size, QRect red) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlue);
    for (int y = red.top(); y <= red.bottom(); ++y)
        for (int x = red.left(); x <= red.right(); ++x) image.setPixel(x, y, kRed.rgb());
    return image;
}
}  // namespace

class PicturesTest : public DesktopTest {
    Q_OBJECT
private slots:
    // A name's first word says what the file must do: "show", "fail" (one Load Error in each
    // place), "any" (either).
    void everyFileShowsOrGivesOneLoadError() {
        const QByteArray blue = encoded(twoColours({30, 20}, {}), "bmp");
        const QByteArray jpeg = encoded(twoColours({30, 20}, {}), "jpeg");
        QByteArray bmp = blue, ico = encoded(twoColours({16, 16}, {}), "ico"), huge = jpeg;
        qToLittleEndian<qint32>(65535, bmp.data() + 18),
            qToLittleEndian<qint32>(65535, bmp.data() + 22);
        qToBigEndian<quint16>(65535, huge.data() + huge.indexOf("\xff\xc0") + 5);
        qToBigEndian<quint16>(65535, huge.data() + huge.indexOf("\xff\xc0") + 7);
        // An icon's directory holds sizes to 256; the image inside claims the rest.
        qToLittleEndian<qint32>(65535,
                                ico.data() + qFromLittleEndian<quint32>(ico.constData() + 18) + 4);
        QMap<QString, QByteArray> files{
            {"fail huge.bmp", bmp},
            {"fail huge.gif", gif(65535, 65535)},
            {"fail huge.jpg", huge},
            {"any huge.ico", ico},
            {"fail text.gif", "GIF89a? no"},
            {"show bmp inside.ico", blue},
            {"show png inside.jpg", encoded(twoColours({30, 20}, {}), "png")},
            {"show gif inside.jpg", gif(20, 20)},
            {"show jpeg inside.bmp", jpeg},
            {"show it's \"写真　夏\".jpg", jpeg},
            {"show line\nbreak .bmp", blue}};
        for (const char* suffix : {"bmp", "gif", "jpg", "ico"})
            files[QString("fail empty.") + suffix] = "";
        std::mt19937 engine(20261206);
        QDirIterator it(kCorpora.isEmpty() ? pics : kCorpora, {"*.bmp", "*.gif", "*.jpg", "*.ico"},
                        QDir::Files, QDirIterator::Subdirectories);
        for (int n = 0; it.hasNext(); ++n) {
            const QString source = it.next(), name = QString("%1-%2").arg(n).arg(it.fileName());
            const bool good =
                source.contains("/bmpsuite/g/") || source.contains("/gif-test-suite/");
            QByteArray bytes = files[(good ? "show " : "any ") + name] = readAll(source);
            files["any cut " + name] = bytes.left(bytes.size() / 2);
            for (int i = 0; i < 8; ++i)
                bytes[qsizetype(engine() % std::min<qsizetype>(64, bytes.size()))] ^=
                    char(1 + engine() % 255);
            files["any flipped " + name] = bytes;
        }
        for (auto it = files.begin(); it != files.end(); ++it)
            writeFile(pics + "/" + it.key(), it.value());
        for (auto it = files.begin(); it != files.end(); ++it) {
            const int errors = errorsOf(*desktop, pics + "/" + it.key());
            QVERIFY2(it.key().startsWith("any") ? errors >= 0
                                                : errors == (it.key().startsWith("fail") ? 3 : 0),
                     qPrintable(it.key()));
        }
    }

    // Red over blue, whichever way the file stores it: turned by EXIF orientation 6 (width and
    // height swap everywhere), or a BMP's rows stored from the top down (a negative height).
    void aPictureIsShownUpright_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("thumbnail");
        QByteArray jpeg = encoded(twoColours({60, 40}, {0, 0, 30, 40}), "jpeg");
        const QByteArray exif(
            "\xff\xe1\0\x22"
            "Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0",
            36);
        jpeg.insert(4 + qFromBigEndian<quint16>(jpeg.constData() + 4),
                    exif);  // after the JFIF block
        QTest::newRow("EXIF orientation 6") << jpeg << QSize(40, 60) << QRect(15, 0, 62, 93);
        QByteArray bmp = encoded(twoColours({8, 4}, {0, 0, 8, 1}), "bmp"),
                   rows;  // rows of 24 bytes
        const int offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
        for (int row = 3; row >= 0; --row) rows += bmp.mid(offset + row * 24, 24);
        qToLittleEndian<qint32>(-4, bmp.data() + 22);
        QTest::newRow("top-down BMP")
            << bmp.left(offset) + rows << QSize(8, 4) << QRect(0, 23, 93, 46);
    }
    void aPictureIsShownUpright() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QRect, thumbnail);
        const QString path = pics + (bytes.startsWith("BM") ? "/upright.bmp" : "/upright.jpg");
        writeFile(path, bytes);
        FrmShow1->LoadControl1(path, "upright", 1);
        QCOMPARE(FrmShow1->Picture1.widget()->size(), size);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(size.width() / 2, size.height() / 6),
                           kRed, 40));
        QVERIFY(sameColour(
            FrmShow1->Picture1.image().pixel(size.width() / 2, size.height() * 5 / 6), kBlue, 40));
        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        QCOMPARE(paintedRect(*FrmShow12->Picture1[0]), thumbnail);
    }

    // Of an icon's images the largest is shown, wherever it stands in the file; a reduction
    // averages what it covers: a 1-pixel checkerboard becomes an even grey in any pixel format.
    void iconsAndReductions() {
        for (const auto& [name, side] : {std::pair{"python.ico", 48}, {"pillow.ico", 256}}) {
            if (kCorpora.isEmpty()) break;
            FrmShow1->LoadControl1(kCorpora + "/pillow/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), QSize(side, side));
        }
        QImage board(400, 400, QImage::Format_RGB32);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : 0);
        for (auto format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
            writeFile(pics + "/board.bmp", encoded(board.convertToFormat(format), "bmp"));
            ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2,
                                               pics + "/board.bmp");
            const QImage cell = FrmShow12->Picture1[0]->image();
            for (int i = 0; i < 93 * 93; ++i)
                QVERIFY(sameColour(cell.pixel(i % 93, i / 93), QColor(128, 128, 128), 20));
        }
    }

    // After the listing: a file removed or turned into a folder is reported and the viewer
    // keeps its picture; a file rewritten with the same size and time shows anew.
    void filesThatChangeAfterTheListing() {
        writePictures(pics, 4);
        openSingle(pics, 0);
        QFile::remove(pics + "/pic02.bmp"), QFile::remove(pics + "/pic03.bmp"),
            QDir(pics).mkdir("pic03.bmp");
        for (const char* what : {"pic02.bmp: File not found", "pic03.bmp: A folder"}) {
            click(Form1->CmdNext1);
            QVERIFY(desktop->shownOnce("Load Error", what) && viewerShows() == "pic01.bmp");
        }
        const QString path = pics + "/pic04.bmp";
        click(Form1->CmdNext1);
        const QDateTime time = QFileInfo(path).lastModified();
        QTest::qSleep(2);  // the rewrite gets a later change time
        writePicture(path, 40, 30, kBlue);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        FrmShow1->LoadControl1(path, "pic04.bmp", 1);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), kBlue));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
