// Controls in a Japanese Gothic, named for screen readers; device pixels drawn.
#include <QAccessible>
#include <QFontDatabase>
#include <QPainter>

#include "platform/fonts.h"
#include "tests/support/desktop.h"

namespace {
QAccessibleInterface* accessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
bool isJapaneseGothic(const QFontInfo& font) {  // at 9 points: 12 pixels at 96 dpi
    return QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese) &&
           !font.family().contains("Mincho", Qt::CaseInsensitive) && font.pixelSize() == 12;
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
private slots:
    // Every control in a Japanese Gothic at 9 points; the references show its glyphs.
    void everyControlIsInAJapaneseGothic() {
        for (QWidget* w : QApplication::allWidgets())
            QVERIFY2(isJapaneseGothic(QFontInfo(w->font())),
                     qPrintable(QFontInfo(w->font()).family()));
        QFont bold = QApplication::font();  // a desktop whose own font is bold: regular still
        bold.setBold(true), QApplication::setFont(bold);
        QCOMPARE(platform::gothicFont(9).weight(), QFont::Normal);
    }
    // Whatever the Japanese font: a label's or button's text fits inside it, and no control
    // stacked above a label hides any of its ink, but one that lies wholly behind another.
    void everyCaptionIsWholeAndUncovered() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const QWidgetList controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (QWidget* w : controls) {
                auto* label = qobject_cast<QLabel*>(w);
                const QString text = w->property("text").toString();
                if (text.isEmpty() || (label && label->wordWrap())) continue;  // names elide
                const QFontMetrics metrics(w->font());
                for (const QString& line : text.split('\n'))
                    QVERIFY2(metrics.horizontalAdvance(line) <= w->contentsRect().width(), qPrintable(line));
                // A label's line is as high as its font's glyphs, by design; a button holds its lines.
                QVERIFY(label || (text.count('\n') + 1) * metrics.height() <= w->height());
                const QImage ink = w->grab().toImage();
                for (QWidget* above : controls.mid(controls.indexOf(w) + 1)) {
                    const QRect over = above->geometry().translated(-w->pos());
                    if (!label || above->isHidden() || over.contains(w->rect())) continue;
                    for (int i = 0; i < ink.width() * ink.height(); ++i) {
                        const QPoint at(i % ink.width(), i / ink.width());
                        QVERIFY2(!over.contains(at / ink.devicePixelRatio()) ||
                                     sameColour(ink.pixel(at), w->palette().color(w->backgroundRole())),
                                 qPrintable(text + " under " + above->metaObject()->className()));
                    }
                }
            }
        }
    }
    // A name under a thumbnail shows in as many whole lines as its label holds, to the pixel;
    // screen readers read it whole.
    void aLongNameShowsTheLinesItsLabelHolds() {
        QLabel* label = FrmShow12->Label1[0]->widget();
        const QString name = "夏休みに海辺で撮った長い名前の写真を並べた.bmp";
        for (int lines : {1, 2, 3}) {
            label->resize(label->width(), lines * QFontMetrics(label->font()).height());
            FrmShow12->Label1[0]->setCaption(name);
            QCOMPARE(label->text().count('\n') + 1, lines);
            QCOMPARE(accessible(label)->text(QAccessible::Name), name);
        }
    }
    // Buttons by caption, lists by what they list, boxes by their labels, pictures by file.
    void everyControlHasAName() {
        SlideshowSetup& s = *FrmSelectSld;
        QStringList names;
        for (QWidget* w : QWidgetList{Form1->widget(), Form1->CmdSld.widget(), s.Check1.widget(),
                                      s.Check2.widget(), s.Check3.widget(), s.Text1.widget(),
                                      FrmSelect1->Check1.widget(), FrmSelect12->Check1.widget(),
                                      FrmSelect1->File1.widget(), FrmShow12->Picture1[1]->widget()})
            names << accessible(w)->text(QAccessible::Name);
        QCOMPARE(names.join('|'),
                 "Orlin-Tessary|スライド|繰り返し|ランダム|画面にフィット|間隔 = 秒|"
                 "画面にフィット|画面にフィット|ファイル|花火①.bmp");
        QCOMPARE(accessible(FrmSelectSld->widget())->role(), QAccessible::Window);
        QCOMPARE(accessible(Form1->CmdNext12.widget())->text(QAccessible::Description),
                 "12枚: 次の12枚");
        auto* cell = accessible(FrmShow12->Picture1[2]->widget())->actionInterface();
        cell->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(viewerShows(), QString("2024.bmp"));
    }
    // A 1-pixel checkerboard fitted, a device pixel to a pixel; at natural size (n = 2) 2 × 2:
    // device pixel (x, y) shows (x/n, y/n). The references hold the layout.
    void aHighDensityScreenShowsDevicePixels() {
        if (Form1->widget()->devicePixelRatioF() != 2)
            QSKIP("a standard screen (QT_SCALE_FACTOR=2 makes one)");
        Module1.WorkLeft = Module1.WorkTop = 0, Module1.WorkRight = 1024, Module1.WorkBottom = 722;
        for (const auto& [name, size, n] :
             {std::tuple{"fine.bmp", QSize(2048, 1444), 1}, {"small.bmp", QSize(41, 31), 2}}) {
            QImage board(size, QImage::Format_RGB32);
            board.fill(Qt::white), QPainter(&board).fillRect(board.rect(), Qt::Dense4Pattern);
            writeFile(pics + "/" + name, encoded(board, "bmp"));
            FrmSelectSld->Check3.setValue(n == 1);
            FrmShow1->LoadControl1(pics + "/" + name, name, 1);
            const QImage screen = FrmShow1->Picture1.widget()->grab().toImage();
            const QPoint corner = FrmShow1->Picture1.widget()->contentsRect().topLeft() * 2;
            for (int y = 0; y < size.height() * n; ++y)
                for (int x = 0; x < size.width() * n; ++x)
                    QVERIFY(sameColour(screen.pixel(corner + QPoint(x, y)),
                                       board.pixel(x / n, y / n), 40));
        }
        QCOMPARE(FrmShow1->Picture1.widget()->geometry(), QRect(492, 346, 41, 31));
    }
};

QTEST_MAIN(LookTest)
#include "tst_look.moc"
