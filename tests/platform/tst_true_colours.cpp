// A photograph in Adobe RGB with its profile embedded shows as its sRGB original does, in the
// viewer, the preview and a thumbnail; a profile that cannot be read is ignored.
#include <QProcess>

#include "tests/support/desktop.h"

class TrueColoursTest : public DesktopTest {
    Q_OBJECT

private slots:
    void aPictureWithAProfileShowsInSrgb_data() {
        QTest::addColumn<QByteArray>("signature");  // of the embedded profile
        QTest::addColumn<QColor>("shown");
        QTest::newRow("Adobe RGB") << QByteArray("acsp") << QColor(40, 200, 60);
        QTest::newRow("broken profile") << QByteArray("xxxx") << QColor(117, 199, 75);
    }
    void aPictureWithAProfileShowsInSrgb() {
        QFETCH(QByteArray, signature);
        QFETCH(QColor, shown);
        const QString profiles = "/usr/share/color/icc/colord/", photo = pics + "/photo.jpg";
        if (QProcess::execute("convert",
                              {"-size", "64x48", "xc:#28c83c", "-profile", profiles + "sRGB.icc",
                               "-profile", profiles + "AdobeRGB1998.icc", photo}))
            QSKIP("needs ImageMagick and colord-data");
        QFile file(photo);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray bytes = file.readAll().replace("acsp", signature);
        QVERIFY(file.seek(0) && file.write(bytes) == bytes.size() && file.flush());
        openSingle(pics, 0);
        openGrid(pics);
        for (const QImage& image : {FrmShow1->Picture1.image(), FrmSelect1->Picture1.image(),
                                    FrmShow12->Picture1[0]->image()}) {
            const QRgb centre = image.pixel(image.rect().center());
            QVERIFY2(sameColour(centre, shown, 4), qPrintable(QColor(centre).name()));
        }
    }
};

QTEST_MAIN(TrueColoursTest)
#include "tst_true_colours.moc"
