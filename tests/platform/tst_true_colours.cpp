// A photograph in Adobe RGB with its profile embedded shows as its sRGB original does, in the
// viewer, the preview and a thumbnail; a profile that cannot be read is ignored.
#include <QProcess>

#include "tests/support/fixture.h"

namespace {
const QString kProfiles = "/usr/share/color/icc/colord/";
const QColor kGreen(40, 200, 60);  // its Adobe RGB numbers, read as sRGB, are (117, 199, 75)
QRgb centreOf(platform::PictureBox& box) { return box.image().pixel(box.image().rect().center()); }
}  // namespace

class TrueColoursTest : public DesktopTest {
    Q_OBJECT

private slots:
    void aPictureWithAProfileShowsInSrgb_data() {
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("Adobe RGB") << QByteArray("acsp") << kGreen;
        QTest::newRow("broken profile") << QByteArray("xxxx") << QColor(117, 199, 75);
    }
    void aPictureWithAProfileShowsInSrgb() {
        QFETCH(QByteArray, signature);
        QFETCH(QColor, shown);
        const QString photo = pics + "/photo.jpg";
        if (!QFile::exists(kProfiles + "AdobeRGB1998.icc")) QSKIP("colord-data is not installed");
        if (QProcess::execute("convert", {"-size", "64x48", "xc:" + kGreen.name(), "-profile",
                                          kProfiles + "sRGB.icc", "-profile",
                                          kProfiles + "AdobeRGB1998.icc", "-quality", "95", photo}))
            QSKIP("ImageMagick's convert is missing");
        QFile file(photo);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray bytes = file.readAll().replace("acsp", signature);
        QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
        file.close();
        openSingle(pics, 0);
        openGrid(pics);
        for (platform::PictureBox* box :
             {&FrmShow1->Picture1, &FrmSelect1->Picture1, FrmShow12->Picture1[0].get()})
            QVERIFY2(sameColour(centreOf(*box), shown, 4),
                     qPrintable(QColor(centreOf(*box)).name()));
    }
};

QTEST_MAIN(TrueColoursTest)
#include "tst_true_colours.moc"
