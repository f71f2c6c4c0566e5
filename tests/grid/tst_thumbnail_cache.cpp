// The desktop's thumbnail cache never shows anything but the file as it is: a cached thumbnail
// counts only where it is the file's, and a picture that cannot be loaded is reported every time.
#include "tests/support/desktop.h"

class ThumbnailCacheTest : public DesktopTest {
    Q_OBJECT
private slots:
    void onlyTheFilesOwnThumbnailIsDrawn_data() {
        QTest::addColumn<QString>("spoilt");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("the file's") << "" << QColor(Qt::blue);
        for (const char* spoilt : {"URI", "MTime", "Size", "shape", "bytes", "folder"})
            QTest::newRow(spoilt) << spoilt << QColor(200, 40, 40);
    }
    void onlyTheFilesOwnThumbnailIsDrawn() {
        QFETCH(QString, spoilt);
        const QFileInfo file(writePicture(pics + "/big.bmp", 400, 300));
        QImage thumbnail(spoilt == "shape" ? QSize(128, 128) : QSize(128, 96),
                         QImage::Format_RGB32);
        thumbnail.fill(Qt::blue);
        const QByteArray uri = QUrl::fromLocalFile(file.filePath()).toEncoded();
        thumbnail.setText("Thumb::URI", spoilt == "URI" ? uri + "x" : uri);
        thumbnail.setText("Thumb::MTime", QString::number(file.lastModified().toSecsSinceEpoch() -
                                                          (spoilt == "MTime")));
        thumbnail.setText("Thumb::Size", QString::number(file.size() + (spoilt == "Size")));
        const QString folder = desktop->folder("cache/thumbnails/normal");
        const QString png =
            folder + "/" + QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
        QVERIFY(thumbnail.save(png));
        if (spoilt == "bytes") QVERIFY(QFile::resize(png, 60));  // cut short
        if (spoilt == "folder")  // a file where the folder should be
            QVERIFY(QDir(folder).removeRecursively() && QFile(folder).open(QIODevice::WriteOnly));
        openGrid(pics);
        QFETCH(QColor, shown);
        QVERIFY(sameColour(FrmShow12->Picture1[0]->image().pixel(46, 46), shown, 10));
    }
    void aPictureThatCannotBeLoadedIsReportedEveryTime() {
        writeFile(pics + "/broken.bmp", "BM cut short");
        for (int visit = 0; visit < 2; ++visit) {
            openGrid(pics);
            QVERIFY(desktop->shownOnce("Load Error", "broken.bmp"));
        }
    }
};

QTEST_MAIN(ThumbnailCacheTest)
#include "tst_thumbnail_cache.moc"
