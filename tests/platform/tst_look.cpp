// Every window's texts in a Japanese Gothic face without a missing glyph, every control named
// for screen readers, and on a high-density screen pictures drawn on device pixels.
#include <QAccessible>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QTextLayout>

#include "tests/support/desktop.h"

namespace {
QAccessibleInterface* accessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

// TESSARY_EXPECTED_FONT names the only Gothic where it has a name the program does not know.
bool isJapaneseGothic(const QString& family) {
    const QString expected = qEnvironmentVariable("TESSARY_EXPECTED_FONT");
    if (!expected.isEmpty()) return family == expected;
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese) &&
           !family.contains("Mincho", Qt::CaseInsensitive);
}

// The texts a widget shows, laid out in its font: what is wrong with them.
QString faultsOf(QWidget* w) {
    QStringList texts{w->windowTitle(), w->property("text").toString()};
    if (auto* list = qobject_cast<QListWidget*>(w))
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    for (const QString& line : texts.join('\n').split('\n', Qt::SkipEmptyParts)) {
        QTextLayout layout(line, w->font());
        layout.beginLayout(), layout.createLine(), layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            if (!isJapaneseGothic(run.rawFont().familyName()) || run.glyphIndexes().contains(0))
                return QString("%1 \"%2\" in %3")
                    .arg(w->metaObject()->className(), line, run.rawFont().familyName());
    }
    return {};
}

// Every device pixel of a box's inside shows pixel (x / n, y / n) of a 1-pixel checkerboard.
bool showsCheckerboard(platform::PictureBox& box, QSize logical, int n) {
    const QImage screen = box.widget()->grab().toImage();
    const QPoint corner = box.widget()->contentsRect().topLeft() * 2;
    for (int y = 0; y < logical.height() * 2; ++y)
        for (int x = 0; x < logical.width() * 2; ++x)
            if (!sameColour(screen.pixel(corner + QPoint(x, y)),
                            (x / n + y / n) % 2 ? Qt::white : Qt::black, 40))
                return false;
    return true;
}
QString checkerboard(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : 0);
    writeFile(path, encoded(image, "bmp"));
    return path;
}
}  // namespace

class LookTest : public DesktopTest {
    Q_OBJECT
    void prepare() override {
        const QString folder = desktop->folder("home/夏の写真");
        desktop->folder("home/夏の写真/ｶﾀｶﾅのフォルダ");
        for (const char* name : {"花火①.bmp", "ﾊﾝｶｸ.bmp", "雪景色 2024.bmp", "Über-café.bmp"})
            writePicture(folder + "/" + name, 8, 6);
        openSingle(folder, 0), openGrid(folder), click(Form1->CmdSld);
        FrmSelectSld->Dir1.setPath(folder);
        FrmSelectSld->Text1.setText("0");  // "値が不正です。" on the start button
        Form1->CmdBrkSld.setCaption("再開");
    }
    QList<platform::Window*> windows() {
        return {Form1.get(),        FrmSelect1.get(), FrmSelect12.get(),
                FrmSelectSld.get(), FrmShow1.get(),   FrmShow12.get()};
    }

private slots:
    void everyTextIsDrawnInAJapaneseGothic() {
        QStringList faults;
        for (platform::Window* window : windows()) {
            QCOMPARE(QFontInfo(window->widget()->font()).pixelSize(), 12);  // 9 points at 96 dpi
            faults << faultsOf(window->widget());
            for (QWidget* w : window->widget()->findChildren<QWidget*>()) faults << faultsOf(w);
        }
        faults.removeAll(QString());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
    // Buttons by caption, lists by what they list, boxes by their labels, pictures by file.
    void everyControlHasAName() {
        for (platform::Window* window : windows())
            QCOMPARE(accessible(window->widget())->role(), QAccessible::Window);
        SlideshowSetup& s = *FrmSelectSld;
        QStringList names;
        for (QWidget* w :
             QWidgetList{Form1->widget(), Form1->CmdSld.widget(), Form1->CmdBrkSld.widget(),
                         s.Check1.widget(), s.Check2.widget(), s.Check3.widget(), s.Text1.widget(),
                         FrmSelect1->Check1.widget(), FrmSelect12->Check1.widget(),
                         FrmSelect1->Dir1.widget(), FrmSelect1->File1.widget(),
                         FrmShow12->Picture1[1]->widget(), FrmShow12->Picture1[5]->widget()})
            names << accessible(w)->text(QAccessible::Name);
        QCOMPARE(names.join('|'),
                 "Orlin-Tessary|スライド|再開|繰り返し|ランダム|画面にフィット|"
                 "間隔 = 秒|画面にフィット|画面にフィット|フォルダ|ファイル|花火①.bmp|");
        QCOMPARE(accessible(Form1->CmdNext12.widget())->text(QAccessible::Description),
                 QString("12枚: 次の12枚"));
        accessible(FrmShow12->Picture1[2]->widget())
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(viewerShows(), QString("2024.bmp"));
    }
    // Layout in logical pixels; 2048 × 1444 fills the 1024 × 722 work area, natural size puts a
    // picture's pixel on 2 × 2.
    void aHighDensityScreenShowsDevicePixels() {
        if (Form1->widget()->devicePixelRatioF() != 2)
            QSKIP("a standard screen (QT_SCALE_FACTOR=2 makes one)");
        QCOMPARE(Form1->CmdSld.widget()->geometry(), QRect(0, 144, 41, 33));
        Module1.WorkLeft = 0, Module1.WorkRight = 1024, Module1.WorkTop = 0;
        Module1.WorkBottom = 722;
        FrmSelectSld->Check3.setValue(1);
        FrmShow1->LoadControl1(checkerboard(pics + "/fine.bmp", {2048, 1444}), "fine.bmp", 1);
        QVERIFY(showsCheckerboard(FrmShow1->Picture1, {1024, 722}, 1));
        FrmSelectSld->Check3.setValue(0);
        FrmShow1->LoadControl1(checkerboard(pics + "/small.bmp", {41, 31}), "small.bmp", 1);
        QCOMPARE(FrmShow1->Picture1.widget()->geometry(), QRect(492, 346, 41, 31));
        QVERIFY(showsCheckerboard(FrmShow1->Picture1, {41, 31}, 2));
    }
};

QTEST_MAIN(LookTest)
#include "tst_look.moc"
