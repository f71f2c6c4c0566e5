// The windows one by one: the control window at start-up and its mode buttons; the choosers'
// lists and their rules; the viewer's drawing over the work area; the grid's cells and pages.
#include "platform/drives.h"
#include "tests/support/desktop.h"

namespace {
QList<Chooser*> choosers() { return {FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()}; }
QRect geometry(platform::PictureBox& box) { return box.widget()->geometry(); }
void useWorkArea() {
    Module1.WorkLeft = 0, Module1.WorkRight = 1024, Module1.WorkTop = 0, Module1.WorkBottom = 722;
}
}  // namespace

class WindowsTest : public DesktopTest {
    Q_OBJECT
    void prepare() override { useWorkArea(); }

private slots:
    // Only the control window shows, above everything, captionless, 41 × 241, with the three
    // mode buttons on; the choosers are made at start-up, in this order, on the home folder.
    void startUp() {
        QWidget& form = *Form1->widget();
        QVERIFY(form.isVisible() && (form.windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(form.size(), QSize(41, 241));
        QCOMPARE(Form1->caption(), QString());
        QVERIFY(!FrmShow1.exists() && !FrmShow12.exists());
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(w == &form || !w->isVisible());
        QVERIFY(Form1->creationNumber() < FrmSelect12->creationNumber());
        QVERIFY(FrmSelect12->creationNumber() < FrmSelect1->creationNumber());
        QVERIFY(FrmSelect1->creationNumber() < FrmSelectSld->creationNumber());
        QList<platform::CommandButton*> column = navigationButtons();
        for (int mode = 0; mode < 3; ++mode)
            column.insert(mode * 3,
                          QList{&Form1->CmdShow1, &Form1->CmdShow12, &Form1->CmdSld}[mode]);
        const int tops[] = {0, 32, 48, 72, 104, 120, 144, 176, 192, 208};
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(column[i]->widget()->geometry(), QRect(0, tops[i], 41, i % 3 ? 17 : 33));
            QCOMPARE(column[i]->isEnabled(), i % 3 == 0 && i < 9);
        }
        QCOMPARE(Form1->CmdBrkSld.caption(), QString("停止"));
        QCOMPARE(Form1->CmdShow12.widget()->nextInFocusChain(), Form1->CmdNext12.widget());
        QCOMPARE(Form1->CmdPrev12.widget()->nextInFocusChain(), Form1->CmdNext1.widget());
        for (Chooser* c : choosers()) QCOMPARE(c->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
        QCOMPARE(FrmSelectSld->Check3.value(), 0);
        desktop->restart();  // the work area, less 16 pixels at the bottom
        QCOMPARE(QRect(Module1.WorkLeft, Module1.WorkTop, Module1.WorkRight - Module1.WorkLeft,
                       Module1.WorkBottom - Module1.WorkTop),
                 QGuiApplication::primaryScreen()->availableGeometry().adjusted(0, 0, 0, -16));
    }

    // A mode button leaves its chooser alone on screen, stops a show and turns every step off.
    void modeButtons() {
        for (platform::CommandButton* mode :
             {&Form1->CmdShow1, &Form1->CmdShow12, &Form1->CmdSld}) {
            openGrid(desktop->folder("home/pics", 13));
            click(*FrmShow12->Picture1[0]);
            startShow(pics);
            for (platform::Window* w :
                 QList<platform::Window*>{FrmSelect1.get(), FrmSelect12.get(), FrmShow12.get()})
                w->showWindow();
            click(*mode);
            QList<platform::Window*> all{FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get(),
                                         FrmShow1.get(), FrmShow12.get()};
            for (platform::Window* w : all)
                QCOMPARE(w->isShown(), w == choosers()[mode == &Form1->CmdShow1 ? 0
                                                       : mode == &Form1->CmdSld ? 2
                                                                                : 1]);
            for (auto* b : navigationButtons()) QVERIFY(!b->isEnabled());
            QVERIFY(!FrmSelectSld->Timer1.running() && !Module1.Next12Saved &&
                    Module1.Prev12Saved == 0);
        }
    }

    // Pictures only, by suffix in any case, in natural order, hidden files left out; a click
    // previews, "開く" hands over the whole list; cancel keeps the selection, another folder
    // clears it; a file that cannot be previewed is reported and can still be opened.
    void theFileChooser() {
        const QString folder = desktop->folder("home/写真 フォルダ");
        for (const char* name :
             {"photo.JPG", "photo.jpeg", "Icon.ICO", "anim.gif", "img10.bmp", "img2.bmp", "b.bmp",
              "B.bmp.bmp", ".hidden.bmp", "夏の 海.bmp", "bad.jpg"})
            writePicture(folder + "/" + name, 40, 30, colourOf(2));
        writeFile(folder + "/notes.txt", "text"),
            writeFile(folder + "/bad.jpg", "no picture in here");
        QDir(folder).mkdir("sub.jpg");
        click(Form1->CmdShow1);
        FileChooser& c = *FrmSelect1;
        c.Dir1.setPath(folder);
        QStringList entries;
        for (int i = -1; i <= c.File1.entryCount(); ++i) entries << c.File1.entry(i);
        QCOMPARE(entries, QStringList({"", "anim.gif", "b.bmp", "B.bmp.bmp", "bad.jpg", "Icon.ICO",
                                       "img2.bmp", "img10.bmp", "photo.jpeg", "photo.JPG",
                                       "夏の 海.bmp", ""}));
        QVERIFY(!c.Command1.isEnabled());
        c.File1.setSelectedIndex(9);
        QVERIFY(c.Command1.isEnabled());
        QCOMPARE(paintedRect(c.Picture1), QRect(0, 13, 101, 75));  // 40 × 30 in the 101-pixel box
        QVERIFY(sameColour(c.Picture1.image().pixel(50, 50), colourOf(2)));
        click(c.Command2);
        click(Form1->CmdShow1);
        QCOMPARE(c.File1.selectedIndex(), 9);
        click(c.Command1);
        QCOMPARE(QStringList(Module1.FileList1.begin(), Module1.FileList1.end()), entries.mid(1));
        QCOMPARE(Module1.DirPath1, folder + "/");
        QCOMPARE(viewerShows(), QString("海.bmp"));
        QVERIFY(c.isShown() && sameColour(FrmShow1->Picture1.image().pixel(5, 5), colourOf(2)));
        c.File1.setSelectedIndex(3);
        QVERIFY(desktop->shownOnce("Load Error", "bad.jpg"));
        QVERIFY(paintedRect(c.Picture1).isEmpty() && c.Command1.isEnabled());
        c.Dir1.setPath(pics);
        QVERIFY(c.File1.selectedIndex() == -1 && !c.Command1.isEnabled());
    }

    // The grid's and the show's start buttons need pictures (and the show an interval); a
    // drive or folder that cannot be read is reported once and changes nothing; each drive
    // remembers its folder; a folder lists its first 32767 pictures.
    void theChoosersRules() {
        const QString empty = desktop->folder("home/empty"), usb = desktop->addDrive("usb");
        desktop->folder("home/pics", 2);
        for (const QString& folder : {pics, empty, pics}) {
            for (Chooser* c : choosers()) c->Dir1.setPath(folder);
            QCOMPARE(FrmSelect12->Command1.isEnabled(), folder == pics);
            QCOMPARE(FrmSelectSld->Command1.isEnabled(), folder == pics);
        }
        FrmSelectSld->Text1.setText(QString());
        FrmSelectSld->Dir1.setPath(empty), FrmSelectSld->Dir1.setPath(pics);
        QVERIFY(!FrmSelectSld->Command1.isEnabled());
        const QString deep = desktop->folder("usb/photos/2026");
        FrmSelect1->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect1->Dir1.path(), usb);
        FrmSelect1->Dir1.setPath(deep);
        FrmSelect1->Drive1.setDrive(desktop->root());
        QCOMPARE(FrmSelect1->Dir1.path(), pics);
        FrmSelect12->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect12->Dir1.path(), deep);
        FrmSelect12->Drive1.setDrive(desktop->root());
        QVERIFY(QDir(usb).removeRecursively());
        for (Chooser* c : choosers()) {
            const QString before = c->Dir1.path();
            c->Drive1.setDrive(usb);
            QVERIFY(desktop->shownOnce("Read Error.", "Drive is not ready."));
            QVERIFY(c->Dir1.path() == before && c->File1.path() == before);
        }
        const QString gone = desktop->folder("home/gone");
        FrmSelect1->Dir1.setPath(desktop->home());
        QVERIFY(QDir(gone).removeRecursively());
        QListWidget& dirs = *FrmSelect1->Dir1.widget();
        emit dirs.itemActivated(dirs.findItems("gone", Qt::MatchEndsWith).value(0));
        QVERIFY(desktop->shownOnce("Read Error."));
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/pic01.bmp"));
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        for (int i = 0; i < 32768; ++i)
            writeFile(QString("%1/f%2.bmp").arg(empty).arg(i, 5, 10, QChar('0')), "");
        FrmSelect12->Dir1.setPath(empty);
        QCOMPARE(FrmSelect12->File1.entryCount(), 32767);
        QCOMPARE(FrmSelect12->File1.entry(32766), QString("f32766.bmp"));
    }

    // Fitted, a picture touches two edges of the work area and is centred on the other axis; at
    // natural size it is centred, halves dropped, and may be cut off.
    void theViewerDraws_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QRect>("drawn");  // inside the box
        const QRect work(0, 0, 1024, 722);
        QTest::newRow("800×600, taller")
            << "a.bmp" << QSize(800, 600) << true << work << QRect(31, 0, 962, 722);
        QTest::newRow("1600×400, wider")
            << "b.bmp" << QSize(1600, 400) << true << work << QRect(0, 233, 1024, 256);
        QTest::newRow("32×32 icon, enlarged")
            << "c.ico" << QSize(32, 32) << true << work << QRect(151, 0, 722, 722);
        QTest::newRow("the work area's ratio")
            << "d.bmp" << QSize(1024, 722) << true << work << work;
        QTest::newRow("odd spare width")
            << "e.bmp" << QSize(1000, 751) << true << work << QRect(31, 0, 961, 722);
        QTest::newRow("300×900 JPEG")
            << "f.jpg" << QSize(300, 900) << true << work << QRect(392, 0, 240, 722);
        QTest::newRow("natural, cut off")
            << "g.bmp" << QSize(2000, 1500) << false << QRect(-488, -389, 2000, 1500)
            << QRect(0, 0, 2000, 1500);
        QTest::newRow("natural, halves dropped")
            << "h.gif" << QSize(41, 31) << false << QRect(492, 346, 41, 31) << QRect(0, 0, 41, 31);
    }
    void theViewerDraws() {
        QFETCH(QString, name);
        QFETCH(QSize, natural);
        QFETCH(bool, fit);
        QFETCH(QRect, box);
        QFETCH(QRect, drawn);
        writePicture(pics + "/" + name, natural.width(), natural.height());
        FrmSelectSld->Check3.setValue(fit);
        FrmShow1->LoadControl1(pics + "/" + name, name, 12);
        QVERIFY(FrmShow1->isShown() && FrmShow1->Picture1.widget()->isVisible());
        QCOMPARE(FrmShow1->caption(), " Orlin-Tessary     クリック→閉じる   " + name);
        QCOMPARE(geometry(FrmShow1->Picture1), box);
        if (!name.endsWith("gif")) QCOMPARE(paintedRect(FrmShow1->Picture1), drawn);
        QVERIFY(!FrmShow1->Picture2.hasPicture() || !fit);  // the scratch copy is let go
    }

    // A picture that cannot be loaded is reported once, and the viewer keeps what it showed;
    // closed through its frame, the viewer selects the chooser's fourth file, when there is one.
    void theViewerKeepsWhatItShowed() {
        const QStringList names = writePictures(pics, 4);
        writeFile(pics + "/zbad.jpg", "not a picture at all");
        for (const int fit : {0, 1}) {
            FrmSelectSld->Check3.setValue(fit);
            for (const char* bad : {"zbad.jpg", "missing.bmp"}) {
                FrmShow1->LoadControl1(pics + "/pic01.bmp", "pic01.bmp", 1);
                const QString caption = FrmShow1->caption();
                const QImage image = FrmShow1->Picture1.image();
                const QRect box = geometry(FrmShow1->Picture1);
                FrmShow1->LoadControl1(pics + "/" + bad, bad, 12);
                QVERIFY(desktop->shownOnce("Load Error", bad));
                QVERIFY(FrmShow1->isShown() && FrmShow1->caption() == caption);
                QVERIFY(geometry(FrmShow1->Picture1) == box && FrmShow1->Picture1.image() == image);
            }
            click(FrmShow1->Picture1);
            FrmShow1->LoadControl1(pics + "/zbad.jpg", "zbad.jpg", 1);
            QVERIFY(desktop->shownOnce("Load Error", "zbad.jpg") && !FrmShow1->isShown());
        }
        openSingle(pics, 0);
        FrmSelect1->Dir1.setPath(desktop->home()), FrmSelect1->Dir1.setPath(pics);
        FrmShow1->closeByFrame();
        QVERIFY(!FrmShow1.exists());
        QCOMPARE(FrmSelect1->File1.selectedIndex(), 3);
        QCOMPARE(Module1.CurFile1, pics + "/" + names[3]);
        QFile::remove(pics + "/pic04.bmp"), QFile::remove(pics + "/zbad.jpg");
        openSingle(pics, 0);
        FrmSelect1->Dir1.setPath(desktop->home()), FrmSelect1->Dir1.setPath(pics);
        FrmShow1->closeByFrame();  // three files: nothing to select
        QCOMPARE(FrmSelect1->File1.selectedIndex(), -1);
    }

    // A picture fills the width or the height of its 93-pixel cell, centred; the page goes on
    // past one that cannot be loaded, leaving its cell blank.
    void theGridCells_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("640×480, wider") << QSize(640, 480) << QRect(0, 12, 93, 69);
        QTest::newRow("480×640, higher") << QSize(480, 640) << QRect(12, 0, 69, 93);
        QTest::newRow("500×500, square") << QSize(500, 500) << QRect(0, 0, 93, 93);
        QTest::newRow("300×200, odd row below") << QSize(300, 200) << QRect(0, 15, 93, 62);
        QTest::newRow("20×10, enlarged") << QSize(20, 10) << QRect(0, 23, 93, 46);
    }
    void theGridCells() {
        QFETCH(QSize, natural);
        QFETCH(QRect, drawn);
        writePicture(pics + "/a.jpg", natural.width(), natural.height());
        writeFile(pics + "/b.bmp", "not a picture");
        writePicture(pics + "/c.bmp", natural.width(), natural.height());
        openGrid(pics);
        QVERIFY(!FrmSelect12->isShown() && FrmShow12->isShown());
        QVERIFY(desktop->shownOnce("Load Error", "b.bmp"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(FrmShow12->Picture1[i]->image().size(), QSize(93, 93));
            QCOMPARE(paintedRect(*FrmShow12->Picture1[i]), i == 1 ? QRect() : drawn);
            QCOMPARE(FrmShow12->Label1[i]->caption(), QString("abc"[i]) + (i ? ".bmp" : ".jpg"));
        }
        QVERIFY(!FrmShow12->Picture2.hasPicture());
    }

    // Paging by twelve with the control window's buttons or the grid's keys; keys past either
    // end and a click on a blank cell change nothing; started again on a drive's root, the grid
    // begins there at the first page.
    void theGridPages_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("byKeys");
        for (int files : {13, 24, 25})
            for (bool keys : {false, true})
                QTest::addRow("%d files%s", files, keys ? ", keys" : "") << files << keys;
    }
    void theGridPages() {
        QFETCH(int, files);
        QFETCH(bool, byKeys);
        const QStringList names = writePictures(pics, files);
        const auto page = [&](int first) {
            QCOMPARE(int(Module1.CurIndex12), first);
            for (int j = 0; j < 12; ++j) {
                const bool used = first + j < files;
                QCOMPARE(FrmShow12->Label1[j]->caption(), used ? names[first + j] : QString());
                QCOMPARE(paintedRect(*FrmShow12->Picture1[j]),
                         used ? QRect(0, 12, 93, 69) : QRect());
                if (used)
                    QVERIFY(sameColour(FrmShow12->Picture1[j]->image().pixel(46, 46),
                                       colourOf(first + j)));
            }
            QCOMPARE(Form1->CmdNext12.isEnabled(), files - first > 12);
            QCOMPARE(Form1->CmdPrev12.isEnabled(), first > 0);
        };
        openGrid(pics);
        key(*FrmShow12, Qt::Key_Backspace);
        page(0);
        int first = 0;
        for (; files - first > 12; first += 12) {
            byKeys ? key(*FrmShow12->Picture1[5], Qt::Key_Return) : click(Form1->CmdNext12);
            page(first + 12);
        }
        key(*FrmShow12, Qt::Key_Return);
        if (files % 12) click(*FrmShow12->Picture1[11]);
        QVERIFY(!FrmShow1->isShown());
        page(first);
        for (; first > 0; first -= 12) {
            byKeys ? key(*FrmShow12, Qt::Key_Backspace) : click(Form1->CmdPrev12);
            page(first - 12);
        }
        writePictures(desktop->root(), 3);
        openGrid(desktop->root());
        QCOMPARE(Module1.DirPath12, desktop->root() + "/");
        QCOMPARE(int(Module1.FileCount12), 3);
        click(*FrmShow12->Picture1[2]);
        QCOMPARE(viewerShows(), QString("pic03.bmp"));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
