// Picture files as they come and as made to hurt, as the viewer and the cells show them.
#include <QDirIterator>
#include <QPainter>
#include <QtEndian>

#include "tests/support/desktop.h"

namespace {
const QColor kBlue(0, 0, 230);
// The public corpora beside the clone; without them only the files made here are tried.
const QString kCorpora = [](const QString& d) {
    if (QFileInfo(d).isDir()) return d;
    qInfo("no corpora at %s: the files made here only", qPrintable(d));
    return QString();
}(qEnvironmentVariable("TESSARY_CORPORA"));
QImage twoColours(QSize size, QRect red) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlue), QPainter(&image).fillRect(red, kRed);
    return image;
}
// Runs something as any of the widgets it watches is about to be painted.
struct OnPaint : QObject {
    explicit OnPaint(std::function<void()> f) : paint(std::move(f)) {}
    std::function<void()> paint;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) paint();
        return false;
    }
};
}  // namespace

class PicturesTest : public DesktopTest {
    Q_OBJECT
private slots:
    // A name's first word says what it must do: "show", "fail" (an error in each place), "any".
    void everyFileShowsOrGivesOneLoadError() {
        const QImage plain = twoColours({30, 20}, {});
        const QByteArray blue = encoded(plain, "bmp"), jpeg = encoded(plain, "jpeg"),
                         png = encoded(plain, "png");
        QByteArray bmp = blue, ico = encoded(twoColours({16, 16}, {}), "ico"), huge = jpeg;
        for (int at : {18, 22}) qToLittleEndian<qint32>(65535, bmp.data() + at);
        for (int at : {5, 7})
            qToBigEndian<quint16>(65535, huge.data() + huge.indexOf("\xff\xc0") + at);
        // An icon's directory holds sizes to 256; the image inside claims the rest.
        qToLittleEndian<qint32>(65535,
                                ico.data() + qFromLittleEndian<quint32>(ico.data() + 18) + 4);
        QMap<QString, QByteArray> files;
        files["fail huge.bmp"] = bmp, files["fail huge.jpg"] = huge, files["any huge.ico"] = ico;
        files["fail huge.gif"] = gif(65535, 65535), files["fail text.gif"] = "GIF89a? no";
        files["fail no width.gif"] = gif(0, 20), files["fail no height.gif"] = gif(20, 0);
        files["show bmp inside.ico"] = files["show line\nbreak .bmp"] = blue;
        files["show gif inside.jpg"] = gif(20, 20), files["show png inside.jpg"] = png;
        files["show jpeg inside.bmp"] = files["show it's \"写真　夏\".jpg"] = jpeg;
        for (QString suffix : {"bmp", "gif", "jpg", "ico"}) files["fail empty." + suffix] = "";
        QDirIterator it(kCorpora.isEmpty() ? pics : kCorpora, {"*.bmp", "*.gif", "*.jpg", "*.ico"},
                        QDir::Files, QDirIterator::Subdirectories);
        for (int n = 0; it.hasNext(); ++n) {
            const QString source = it.next(), name = QString("%1-%2").arg(n).arg(it.fileName());
            const bool good = source.contains(QRegularExpression("/(bmpsuite/g|gif-test-suite)/"));
            files[(good ? "show " : "any ") + name] = readAll(source);
        }
        for (const auto& [name, bytes] : files.asKeyValueRange()) {
            if (QSysInfo::productType() == "windows" && name.contains(QRegularExpression("[\"\n]")))
                continue;  // Windows allows neither in a file name
            writeFile(pics + "/" + name, bytes);
            const int errors = loadErrors(*desktop, pics + "/" + name);
            QVERIFY2(
                name.startsWith("any") ? errors >= 0 : errors == (name.startsWith("fail") ? 3 : 0),
                qPrintable(name));
        }
    }
    // Red over blue, turned by EXIF orientation 6 or stored from the top down (negative height).
    void aPictureIsShownUpright() {
        const QByteArray jpeg = withExif(encoded(twoColours({60, 40}, {0, 0, 30, 40}), "jpeg"), 6);
        QByteArray bmp = encoded(twoColours({8, 4}, {0, 0, 8, 1}), "bmp"), rows;  // 24-byte rows
        const int offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
        for (int row = 3; row >= 0; --row) rows += bmp.mid(offset + row * 24, 24);
        qToLittleEndian<qint32>(-4, bmp.data() + 22);
        int cell = 0;  // a cell of its own each
        for (const auto& [name, bytes, size, thumbnail] :
             {std::tuple{"turned.jpg", jpeg, QSize(40, 60), QRect(15, 0, 62, 93)},
              {"top-down.bmp", bmp.left(offset) + rows, QSize(8, 4), QRect(0, 23, 93, 46)}}) {
            writeFile(pics + "/" + name, bytes);
            FrmShow1->LoadControl1(pics + "/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), size);
            const QImage shown = FrmShow1->Picture1.image();
            QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() / 6), kRed, 40));
            QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() * 5 / 6), kBlue, 40));
            loadInCell(pics + "/" + name, ++cell);
            QCOMPARE(paintedRect(*FrmShow12->Picture1[cell]), thumbnail);
        }
    }
    // Of an icon's images the largest; a reduced 1-pixel checkerboard is grey in any format.
    void iconsAndReductions() {
        for (const auto& [name, side] : {std::pair{"python.ico", 48}, {"pillow.ico", 256}}) {
            if (kCorpora.isEmpty()) break;
            FrmShow1->LoadControl1(kCorpora + "/pillow/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), QSize(side, side));
        }
        QImage board(400, 400, QImage::Format_RGB32);
        board.fill(Qt::white), QPainter(&board).fillRect(board.rect(), Qt::Dense4Pattern);
        for (auto format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
            writeFile(pics + "/board.bmp", encoded(board.convertToFormat(format), "bmp"));
            loadInCell(pics + "/board.bmp");
            const QImage cell = FrmShow12->Picture1[0]->image();
            for (int i = 0; i < 93 * 93; ++i)
                QVERIFY(sameColour(cell.pixel(i % 93, i / 93), QColor(128, 128, 128), 20));
        }
    }
    // A JPEG's embedded thumbnail shows in every cell of a page at once, turned as the picture is,
    // then the picture replaces it. Only a whole one of the picture's proportions, once black bars
    // are cut off, stands in; the cache keeps only the pictures' own thumbnails.
    void anEmbeddedThumbnailStandsIn_data() {
        addRows(R"(
barred            | 1 | 160 120 0    | green yellow
turned right      | 6 | 160 120 0    | green yellow
turned left       | 8 | 160 120 0    | yellow green
unbarred          | 1 | 150 100 none | green yellow
other proportions | 1 | 160 120 none | red blue
grey bars         | 1 | 160 120 90   | red blue
damaged           | 1 | 160 120 cut  | red blue
too small         | 1 | 40 30 0      | red blue
)",
                {"orientation", "thumbnail", "first"});
    }
    void anEmbeddedThumbnailStandsIn() {
        const auto [orientation, thumbnail, first] = fetch("orientation", "thumbnail", "first");
        const QStringList t = thumbnail.split(' ');
        QImage small(t[0].toInt(), t[1].toInt(), QImage::Format_RGB32);
        small.fill(QColor(t[2].toInt(), t[2].toInt(), t[2].toInt()));
        const int h = t[2] == "none" ? small.height() : small.width() * 2 / 3 + 1;  // 3:2 inside
        QPainter(&small).fillRect(0, (small.height() - h) / 2, small.width(), h, Qt::yellow);
        QPainter(&small).fillRect(0, (small.height() - h) / 2, small.width() / 2, h, Qt::green);
        QByteArray bytes = encoded(small, "jpeg");
        bytes.chop(t[2] == "cut" ? bytes.size() / 2 : 0);
        bytes = withExif(encoded(twoColours({300, 200}, {0, 0, 150, 200}), "jpeg"),
                         orientation.toInt(), bytes);
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            writeFile((paths << pics + QString("/%1.jpg").arg(i)).last(), bytes);
        std::vector<QImage> atFirst;  // every cell as the first one is painted showing something
        const auto painted = [](auto& box) { return !paintedRect(*box).isEmpty(); };
        OnPaint watch([&] {
            if (atFirst.empty() && std::ranges::any_of(FrmShow12->Picture1, painted))
                for (auto& box : FrmShow12->Picture1) atFirst.push_back(box->image());
        });
        for (auto& box : FrmShow12->Picture1) box->widget()->installEventFilter(&watch);
        openGrid(pics);
        QVERIFY(atFirst.size() == 12);
        const QMap<QString, QColor> colours{
            {"red", kRed}, {"blue", kBlue}, {"green", Qt::green}, {"yellow", Qt::yellow}};
        const auto shows = [&](const QImage& image, const QString& halves) {
            const bool turned = orientation.toInt() >= 5;
            return sameColour(image.pixel(turned ? 46 : 23, turned ? 23 : 46),
                              colours[halves.section(' ', 0, 0)], 40) &&
                   sameColour(image.pixel(turned ? 46 : 70, turned ? 70 : 46),
                              colours[halves.section(' ', 1)], 40);
        };
        const QString last = QString(first).replace("green", "red").replace("yellow", "blue");
        const QRgb blank = FrmShow12->widget()->palette().color(QPalette::Window).rgb();
        for (int j = 0; j < 12; ++j) {
            QVERIFY(shows(atFirst[j], first) ||
                    (first == last && atFirst[j].pixel(46, 46) == blank));
            QVERIFY(shows(FrmShow12->Picture1[j]->image(), last));
        }
        if (QSysInfo::productType() == "windows" || first == last) return;  // Linux's cache
        for (const QString& path : paths) {
            const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
            const QString png = desktop->root() + "/cache/thumbnails/normal/" +
                                QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
            QTRY_VERIFY(QFile::exists(png + ".png"));
            QVERIFY(shows(QImage(png + ".png").scaled(93, 93), last));
        }
    }
    // Only the file's own cached thumbnail is drawn; once a page is complete, the next one's
    // thumbnails are made before it is asked for.
    void onlyTheFilesOwnCachedThumbnailIsDrawn() {
        if (QSysInfo::productType() == "windows") QSKIP("The desktop's thumbnail cache is Linux's");
        const QString cache = desktop->folder("cache/thumbnails/normal") + "/";
        const auto cached = [&](const QString& path) {  // as the freedesktop.org standard names it
            const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
            return cache + QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
        };
        for (const QString spoilt : {"", "URI", "MTime", "Size", "shape", "bytes", "rounding"}) {
            const QString folder = desktop->folder("t" + spoilt, spoilt.isEmpty() ? 23 : 0);
            const QFileInfo file(writePicture(folder + "/a.bmp", 400, 300));
            const int off = spoilt == "rounding";  // another program's rounding spoils nothing
            QImage thumbnail = twoColours({128 - off, spoilt == "shape" ? 128 : 96 + off}, {});
            const QByteArray uri = QUrl::fromLocalFile(file.filePath()).toEncoded();
            thumbnail.setText("Thumb::URI", spoilt == "URI" ? uri + "x" : uri);
            const qint64 mtime = file.lastModified().toSecsSinceEpoch() - (spoilt == "MTime");
            thumbnail.setText("Thumb::MTime", QString::number(mtime));
            thumbnail.setText("Thumb::Size", QString::number(file.size() + (spoilt == "Size")));
            const QString png = cached(file.filePath());
            const QString next = writePicture(folder + "/z.bmp", 100, 300);  // taller than 128
            const QString small = writePicture(folder + "/b.bmp", 128, 96);  // none larger: none
            QVERIFY(thumbnail.save(png) && (spoilt != "bytes" || QFile::resize(png, 60)));
            click(Form1->CmdShow12), FrmSelect12->Dir1.setPath(file.path());
            QTRY_VERIFY(QImage(png).text("Thumb::URI") == uri);  // the file's own, written anew
            click(FrmSelect12->Command1);
            QVERIFY2(sameColour(FrmShow12->Picture1[0]->image().pixel(46, 46),
                                spoilt.isEmpty() || spoilt == "rounding" ? kBlue : kRed, 10),
                     qPrintable(spoilt));
            if (!spoilt.isEmpty()) continue;  // three pages: z.bmp on the third, a.bmp on the first
            click(Form1->CmdNext12);
            QTRY_VERIFY(QFile::exists(cached(next)) && !QFile::exists(cached(small)));
            click(Form1->CmdNext12), QFile::remove(png), click(Form1->CmdPrev12);
            QTRY_VERIFY(QFile::exists(png));  // back on the second page, the first is made ahead
        }
    }
    // Gone or a folder now: reported, the picture stays; rewritten, same size and time: anew.
    void filesThatChangeAfterTheListing() {
        writePictures(pics, 4), openSingle(pics, 0);
        // The picture on show is held open by nothing: its name is free for a folder at once.
        QVERIFY(QFile::remove(pics + "/pic02.bmp") && QDir(pics).remove("pic03.bmp") &&
                QDir(pics).mkdir("pic03.bmp") && QFile::remove(pics + "/pic01.bmp") &&
                QDir(pics).mkdir("pic01.bmp"));
        for (const char* what : {"pic02.bmp: File not found", "pic03.bmp: A folder"}) {
            click(Form1->CmdNext1);
            QVERIFY(desktop->shownOnce("Load Error", what) && viewerShows() == "pic01.bmp");
        }
        const QString path = pics + "/pic04.bmp";
        click(Form1->CmdNext1);
        const auto held = platform::Picture::open(path);  // its decode, there to share
        QVERIFY(!held.natural().isNull());
        const QDateTime time = QFileInfo(path).lastModified();
        QTest::qSleep(2);  // the rewrite gets a later change time
        writePicture(path, 40, 30, kBlue);
        QFile file(path);
        QVERIFY(file.open(QFile::ReadWrite) && file.setFileTime(time, QFile::FileModificationTime));
        FrmShow1->LoadControl1(path, "pic04.bmp", 1);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), kBlue));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
