// Japanese text everywhere: every caption, button, label, check box, text box and list entry of
// every window is laid out by the real widgets' fonts with a Japanese Gothic face, and no
// character comes out as a missing glyph. Run a second time with a font configuration whose only
// Japanese Gothic has a name the program does not know (TESSARY_EXPECTED_FONT names it).
#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextLayout>

#include "tests/support/fixture.h"

namespace {
struct Shown {
    QString where, text;
    QFont font;
};

// The texts a window shows, each with the font it is drawn in.
QList<Shown> textsOf(QWidget& window) {
    QList<Shown> texts{{window.metaObject()->className(), window.windowTitle(), window.font()}};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString where = QString("%1 at %2,%3").arg(w->metaObject()->className()).arg(w->x()).arg(w->y());
        QStringList shown;
        if (auto* button = qobject_cast<QAbstractButton*>(w)) shown << button->text();
        if (auto* label = qobject_cast<QLabel*>(w)) shown << label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) shown << edit->text();
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        }
        for (const QString& text : shown) texts.push_back({where, text, w->font()});
    }
    return texts;
}

bool isJapaneseGothic(const QString& family) {
    const QString expected = qEnvironmentVariable("TESSARY_EXPECTED_FONT");
    if (!expected.isEmpty()) return family == expected;
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese) &&
           !family.contains("Mincho", Qt::CaseInsensitive) && !family.contains("明朝");
}

// What is wrong with a text as the font lays it out: a face that is not a Japanese Gothic, or a
// character without a glyph.
QString faultOf(const Shown& shown) {
    for (const QString& line : shown.text.split('\n')) {
        QTextLayout layout(line, shown.font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QString family = run.rawFont().familyName();
            if (!isJapaneseGothic(family)) return QString("drawn in %1").arg(family);
            if (run.glyphIndexes().contains(0)) return QString("a missing glyph in %1").arg(family);
        }
    }
    return {};
}
}  // namespace

class FontTest : public DesktopTest {
    Q_OBJECT

private slots:
    void everyWindowDrawsItsTextInAJapaneseGothic() {
        const QString folder = desktop->folder("home/夏の写真");
        desktop->folder("home/夏の写真/ｶﾀｶﾅのフォルダ");
        for (const char* name : {"花火①.bmp", "ﾊﾝｶｸ.bmp", "雪景色 2024.bmp", "Über-café.bmp"})
            TestDesktop::writePicture(folder + "/" + QString(name), 8, 6);
        useWorkArea();
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(folder);
        FrmSelect1->File1.setSelectedIndex(0);
        click(&FrmSelect1->Command1);
        openGrid(folder);
        click(&Form1->CmdSld);
        FrmSelectSld->Dir1.setPath(folder);
        FrmSelectSld->Text1.setText("0");  // "値が不正です。" on the start button
        Form1->CmdBrkSld.setCaption("再開");

        QList<platform::Window*> windows{Form1.get(),        FrmSelect1.get(), FrmSelect12.get(),
                                         FrmSelectSld.get(), FrmShow1.get(),   FrmShow12.get()};
        QStringList faults;
        int checked = 0;
        for (platform::Window* window : windows) {
            QCOMPARE(QFontInfo(window->font()).pixelSize(), 12);  // 9 points at 96 dpi
            for (const Shown& shown : textsOf(*window)) {
                ++checked;
                if (const QString fault = faultOf(shown); !fault.isEmpty())
                    faults << QString("%1 \"%2\": %3").arg(shown.where, shown.text, fault);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
        QVERIFY(checked > 60);
        qInfo("%d texts drawn in %s", checked, qPrintable(QFontInfo(Form1->font()).family()));
    }
};

QTEST_MAIN(FontTest)
#include "tst_fonts.moc"
