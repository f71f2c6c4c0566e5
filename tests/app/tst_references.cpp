// Each window in the states that matter, drawn offscreen and compared with its picture in
// tests/references (tests/update-references rewrites them). The drive and folder lists show the
// drive's path, so the drive is one fixed folder, in a /tmp each run has to itself
// (tests/CMakeLists.txt).
#include "tests/support/desktop.h"

namespace {
const QString kDrive = "/tmp/tessary-references", kPics = kDrive + "/home/pics";
const QString kP13 = kDrive + "/home/p13";
void fitted() { FrmSelectSld->Check3.setValue(1); }
void setup() { click(Form1->CmdSld), FrmSelectSld->Dir1.setPath(kPics); }
void files() { click(Form1->CmdShow1), FrmSelect1->Dir1.setPath(kPics); }
void start() { setup(), click(FrmSelectSld->Command1); }
// The row's name begins with its window's.
const std::map<QString, std::function<void()>> kRows{
    {"control-single", [] { fitted(), openSingle(kPics, 1); }},
    {"control-grid", [] { openGrid(kP13); }},
    {"control-show", start},
    {"control-paused", [] { start(), click(Form1->CmdBrkSld); }},
    {"files-preview", [] { files(), FrmSelect1->File1.setSelectedIndex(3); }},  // the long name
    {"folders-chosen", [] { click(Form1->CmdShow12), FrmSelect12->Dir1.setPath(kPics); }},
    {"setup-refused", [] { setup(), fitted(), FrmSelectSld->Text1.setText("0"); }},
    {"grid-full", [] { openGrid(kP13); }},
    {"grid-last", [] { openGrid(kP13), click(Form1->CmdNext12); }},
    {"viewer-fitted", [] { fitted(), openSingle(kPics, 1); }},
    {"viewer-natural", [] { openSingle(kPics, 1); }}};
}  // namespace

class ReferencesTest : public DesktopTest {
    Q_OBJECT
private slots:
    void windowAsItsReference_data() {
        QTest::addColumn<QString>("name");
        for (const auto& row : kRows) QTest::newRow(qPrintable(row.first)) << row.first;
    }
    void windowAsItsReference() {
        if (QSysInfo::productType() == "windows") QSKIP("the references are drawn on Linux");
        desktop->stop(), QDir(kDrive).removeRecursively(), QDir(kDrive).mkpath("home/pics/2026");
        QDir(kDrive).mkpath("home/p13"), writePictures(kP13, 13), writePictures(kPics, 3);
        for (const QString& folder : {kPics, kP13})  // the long name wraps under its thumbnail
            writePicture(folder + "/夏休みに海辺で撮った長い名前の写真.bmp", 30, 40);
        writePicture(kP13 + "/IMG_20240801_123456.bmp", 40, 30);  // a camera's: no spaces
        platform::drives::setForTesting({kDrive}, kDrive + "/home"), Form1->Form_Load();
        Module1.WorkLeft = Module1.WorkTop = 0, Module1.WorkRight = 240, Module1.WorkBottom = 160;
        QFETCH(QString, name);
        kRows.at(name)();
        const QMap<QString, platform::Window*> windows{
            {"control", Form1.get()},       {"files", FrmSelect1.get()},
            {"folders", FrmSelect12.get()}, {"setup", FrmSelectSld.get()},
            {"grid", FrmShow12.get()},      {"viewer", FrmShow1.get()}};
        const QImage actual = windows[name.section('-', 0, 0)]->widget()->grab().toImage();
        const QString file = QString("%1@%2x.png").arg(name).arg(actual.devicePixelRatio());
        const QString reference = qEnvironmentVariable("TESSARY_REFERENCES") + "/" + file;
        if (qEnvironmentVariableIsSet("TESSARY_UPDATE_REFERENCES")) QVERIFY(actual.save(reference));
        QImage diff = QImage(reference).convertToFormat(QImage::Format_RGB32);  // magenta: differs
        int differing = diff.size() == actual.size() ? 0 : -1;
        for (int y = 0; differing >= 0 && y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                if (!sameColour(actual.pixel(x, y), diff.pixel(x, y), 8))  // a few levels
                    ++differing, diff.setPixel(x, y, qRgb(255, 0, 255));
        const QString out = qEnvironmentVariable("TESSARY_REFERENCES_FAILED") + "/" + file;
        if (differing >= 0 && differing <= 4) return;  // within a few pixels' antialiasing
        QDir().mkpath(QFileInfo(out).path()), actual.save(out), diff.save(out + ".diff.png");
        QFAIL(qPrintable(QString("%1 pixels (-1: the size) differ: see %2, %2.diff.png")
                             .arg(QString::number(differing), out)));
    }
};

QTEST_MAIN(ReferencesTest)
#include "tst_references.moc"
