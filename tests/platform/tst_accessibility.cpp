// What screen readers and UI automation find through QAccessible: every control of every window
// with a role and a name, buttons by caption, the lists by role and name, check boxes and the
// text box by their labels, picture boxes and thumbnail cells by the file they show.
#include <QAccessible>
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "tests/support/fixture.h"

namespace {
QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    if (face == nullptr) qFatal("no accessible interface for %s", object->metaObject()->className());
    return face;
}
QString nameOf(QObject* object) { return accessible(object)->text(QAccessible::Name); }
QAccessible::Role roleOf(QObject* object) { return accessible(object)->role(); }

// The role each kind of control must have.
QAccessible::Role expectedRole(QWidget* w) {
    if (dynamic_cast<platform::PictureBox*>(w)) return QAccessible::Graphic;
    if (qobject_cast<QCheckBox*>(w)) return QAccessible::CheckBox;
    if (qobject_cast<QAbstractButton*>(w)) return QAccessible::Button;
    if (qobject_cast<QLabel*>(w)) return QAccessible::StaticText;
    if (qobject_cast<QLineEdit*>(w)) return QAccessible::EditableText;
    if (qobject_cast<QComboBox*>(w)) return QAccessible::ComboBox;
    if (qobject_cast<QListWidget*>(w)) return QAccessible::List;
    return QAccessible::NoRole;
}
}  // namespace

class AccessibilityTest : public DesktopTest {
    Q_OBJECT

private slots:
    // Every control a window holds (not the parts Qt builds inside them) has its role and a name;
    // a picture box that shows nothing and a blank caption are the only ones left unnamed.
    void everyControlHasARoleAndAName() {
        const QString folder = desktop->folderWith("home/pics2", 3);
        openSingle(folder, 1);
        openGrid(folder);
        click(&Form1->CmdSld);
        QStringList faults;
        for (platform::Window* window : {static_cast<platform::Window*>(Form1.get()),
                                         static_cast<platform::Window*>(FrmSelect1.get()),
                                         static_cast<platform::Window*>(FrmSelect12.get()),
                                         static_cast<platform::Window*>(FrmSelectSld.get()),
                                         static_cast<platform::Window*>(FrmShow1.get()),
                                         static_cast<platform::Window*>(FrmShow12.get())}) {
            QCOMPARE(roleOf(window), QAccessible::Window);
            QVERIFY(!nameOf(window).trimmed().isEmpty());
            for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const auto* box = dynamic_cast<platform::PictureBox*>(w);
                const auto* label = qobject_cast<QLabel*>(w);
                const bool blank = (box && (box->isHidden() || paintedRect(*box).isEmpty())) ||
                                   (label && label->text().isEmpty());
                const QString where = QString("%1 %2 at %3,%4").arg(window->metaObject()->className(), w->metaObject()->className()).arg(w->x()).arg(w->y());
                if (roleOf(w) != expectedRole(w) || expectedRole(w) == QAccessible::NoRole)
                    faults << where + QString(": role %1").arg(roleOf(w));
                if (!blank && nameOf(w).trimmed().isEmpty()) faults << where + ": no name";
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    }

    // Names as the user reads them: captions unwrapped and following changes, the lists, the
    // labels of check boxes and of the text box, folders without their indent.
    void namesAreWhatTheUserReads() {
        QCOMPARE(nameOf(Form1.get()), QString("Orlin-Tessary"));
        QCOMPARE(nameOf(&Form1->CmdSld), QString("スライド"));  // wraps onto two lines on screen
        QVERIFY(Form1->CmdSld.text().contains('\n'));
        QCOMPARE(nameOf(&Form1->CmdNext12), QString(">>"));
        QCOMPARE(accessible(&Form1->CmdNext12)->text(QAccessible::Description), QString("12枚: 次の12枚"));
        Form1->CmdBrkSld.setCaption("再開");
        QCOMPARE(nameOf(&Form1->CmdBrkSld), QString("再開"));

        // On Linux Qt names a combo box by the value it shows.
        QCOMPARE(accessible(&FrmSelect1->Drive1)->text(QAccessible::Description), QString("ドライブ"));
        QCOMPARE(nameOf(&FrmSelect1->Drive1), FrmSelect1->Drive1.currentText());
        QCOMPARE(nameOf(&FrmSelect1->Dir1), QString("フォルダ"));
        QCOMPARE(nameOf(&FrmSelect1->File1), QString("ファイル"));
        QCOMPARE(nameOf(&FrmSelect1->Check1), QString("画面にフィット"));
        QCOMPARE(nameOf(&FrmSelect12->Check1), QString("画面にフィット"));
        QCOMPARE(nameOf(&FrmSelectSld->Check1), QString("繰り返し"));
        QCOMPARE(nameOf(&FrmSelectSld->Check2), QString("ランダム"));
        QCOMPARE(nameOf(&FrmSelectSld->Check3), QString("画面にフィット"));
        QCOMPARE(nameOf(&FrmSelectSld->Text1), QString("間隔 = 秒"));
        QCOMPARE(nameOf(&FrmSelect1->Command1), QString("開く"));

        desktop->folder("home/pics/夏");
        FrmSelect1->Dir1.setPath(pics);
        QAccessibleInterface* folders = accessible(&FrmSelect1->Dir1);
        QStringList entries;
        for (int i = 0; i < folders->childCount(); ++i) entries << folders->child(i)->text(QAccessible::Name);
        QCOMPARE(entries.mid(entries.size() - 3), QStringList({"home", "pics", "夏"}));
    }

    // Each thumbnail cell is named by the file it shows, page by page; a blank cell has no name;
    // the press action opens the cell's picture as a click does. The preview and the viewer are
    // named by their file too.
    void picturesAreNamedByTheirFile() {
        const QStringList names = TestDesktop::writePictures(pics, 14);
        openGrid(pics);
        for (int i = 0; i < ThumbnailGrid::kPage; ++i) QCOMPARE(nameOf(FrmShow12->Picture1[i].get()), names[i]);
        click(&Form1->CmdNext12);
        QCOMPARE(nameOf(FrmShow12->Picture1[0].get()), names[12]);
        QCOMPARE(nameOf(FrmShow12->Picture1[1].get()), names[13]);
        QCOMPARE(nameOf(FrmShow12->Picture1[2].get()), QString());
        QVERIFY(accessible(FrmShow12->Picture1[2].get())->actionInterface() != nullptr);
        QAccessibleActionInterface* press = accessible(FrmShow12->Picture1[1].get())->actionInterface();
        QVERIFY(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
        press->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(viewerShows(), names[13]);
        QCOMPARE(nameOf(&FrmShow1->Picture1), names[13]);

        FrmSelect1->Dir1.setPath(pics);
        FrmSelect1->File1.setSelectedIndex(4);
        QCOMPARE(nameOf(&FrmSelect1->Picture1), names[4]);
        QCOMPARE(accessible(&FrmSelect1->Picture1)->text(QAccessible::Description), QString("プレビュー"));
        FrmSelect1->Dir1.setPath(desktop->home());
        QCOMPARE(nameOf(&FrmSelect1->Picture1), QString());  // the preview emptied
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
