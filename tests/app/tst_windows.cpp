// The windows one by one: the control window at start-up; the choosers' lists and their rules;
// the viewer's drawing over the work area; the grid's cells and pages. A second start hands its
// path over the running program's own socket: the path is shown as the user would open it,
// waits while a message box is open, and a bad message blocks nothing.
#include <QLocalSocket>
#include <QStorageInfo>
#include <future>

#include "app/starting_path.h"
#include "platform/one_program.h"
#include "tests/support/desktop.h"

namespace {
// As a later start hands its path over, from a thread of its own, while the running program's
// events go on: a Windows pipe takes a message only as the other end reads it.
bool handedOver(const QString& path) {
    auto later = std::async(std::launch::async,
                            [path] { return platform::handOverToRunningProgram(path, {}); });
    while (later.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return later.get();
}
platform::PictureBox& cell(int i) { return *FrmShow12->Picture1[i]; }
// What the screen shows of a widget: whether it was last painted showing something.
struct LastPaint : QObject {
    LastPaint(QWidget* w, std::function<bool()> f) : shows(f) { w->installEventFilter(this); }
    std::function<bool()> shows;  // whether it shows something now
    bool showed = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) showed = shows();
        return false;
    }
};
auto shown() {
    return std::tuple(FrmShow1->isShown(), FrmShow1->caption(), FrmShow1->Picture1.image(),
                      FrmShow1->Picture1.widget()->geometry());
}
}  // namespace

class WindowsTest : public DesktopTest {
    Q_OBJECT
    inline static QStringList arrived, machineDrives;  // the paths handed over; real drives
    void prepare() override {
        Module1.WorkLeft = Module1.WorkTop = 0, Module1.WorkRight = 1024, Module1.WorkBottom = 722;
        static QTemporaryDir runtime;  // the user's runtime folder, for the whole run
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        static const bool first = !platform::handOverToRunningProgram(
            {}, [](QString path) { arrived << path, ShowStartingPath(path); });
        QVERIFY(first);
        arrived.clear();
    }
private slots:
    void initTestCase() { machineDrives = platform::drives::all(); }  // before tests name theirs
    // Only the control window shows, above everything, captionless, fixed at 41 × 241, the mode
    // buttons on (the references hold the layout and the states); the choosers are fixed in size,
    // captioned alike (their folders: the settings tests' "no file"). The machine's drives are
    // the drive letters on Windows; on Linux the root, then the volumes mounted where a user's go.
    void startUp() {
        QStringList letters;
        for (const QFileInfo& drive : QDir::drives()) letters << drive.absoluteFilePath();
        QVERIFY(QSysInfo::productType() != "windows" || machineDrives == letters);
        for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
            if (QSysInfo::productType() == "windows") break;
            const QString root = v.rootPath();
            const bool users =
                QRegularExpression("^/(media|mnt|run/media|home)/").match(root + "/").hasMatch();
            QVERIFY2(machineDrives.contains(root) == ((users && v.isReady()) || root == "/"),
                     qPrintable(root));
        }
        QWidget& form = *Form1->widget();
        QVERIFY(form.isVisible() && (form.windowFlags() & Qt::WindowStaysOnTopHint) &&
                Form1->caption().isEmpty() && form.minimumSize() == QSize(41, 241) &&
                form.maximumSize() == QSize(41, 241) && !FrmShow1.exists() && !FrmShow12.exists());
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(w == &form || !w->isVisible());
        QVERIFY(Form1->creationNumber() + 1 == FrmSelect12->creationNumber() &&  // made in order
                FrmSelect12->creationNumber() + 1 == FrmSelect1->creationNumber() &&
                FrmSelect1->creationNumber() + 1 == FrmSelectSld->creationNumber());
        QVERIFY(Form1->CmdShow12.widget()->nextInFocusChain() == Form1->CmdNext12.widget() &&
                Form1->CmdPrev12.widget()->nextInFocusChain() == Form1->CmdNext1.widget());
        for (const auto& [c, size] : {std::pair<Chooser*, QSize>{FrmSelect1.get(), {449, 321}},
                                      {FrmSelect12.get(), {335, 321}},
                                      {FrmSelectSld.get(), {463, 326}}})
            QVERIFY(c->widget()->minimumSize() == size && c->widget()->maximumSize() == size &&
                    c->caption() == " Orlin-Tessary");
    }
    // Pictures only, by suffix in any case, in natural order, hidden ones left out; Tab goes
    // through the file list to the preview, selecting nothing; a click previews, "開く" hands over
    // the whole list; cancel keeps the selection, another folder clears it; one not to be
    // previewed is reported. The fit box ticked after the preview holds for the picture opened.
    // Another folder wipes the preview on the screen.
    void theFileChooser() {
        const QString folder = desktop->folder("home/写真 フォルダ");
        for (const char* name :
             {"photo.JPG", "photo.jpeg", "Icon.ICO", "anim.gif", "img10.bmp", "img2.bmp", "b.bmp",
              "B.bmp.bmp", ".hidden.bmp", "夏の 海.bmp", "notes.txt", "bad.jpg", "a10.bmp",
              "a2.bmp", "b01.bmp", "B1.bmp", "x.bmp", "1x.bmp"})
            writePicture(folder + "/" + name, 40, 30, colourOf(2));
        writeFile(folder + "/bad.jpg", "no picture in here"), QDir(folder).mkdir("sub.jpg");
        click(Form1->CmdShow1), FrmSelect1->Dir1.setPath(folder);
        FileChooser& c = *FrmSelect1;
        QStringList entries;
        for (int i = -1; i <= c.File1.entryCount(); ++i) entries << c.File1.entry(i);
        QCOMPARE(entries.join(','),
                 ",1x.bmp,a2.bmp,a10.bmp,anim.gif,b.bmp,B.bmp.bmp,B1.bmp,b01.bmp,bad.jpg,Icon.ICO,"
                 "img2.bmp,img10.bmp,photo.jpeg,photo.JPG,x.bmp,夏の 海.bmp,");
        c.widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c.widget()));
        c.Dir1.widget()->setFocus();  // Tab into the file list, then to the preview
        for (int i = 0; i < 2; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.Picture1.widget());
        QVERIFY(!c.Command1.isEnabled() && paintedRect(c.Picture1).isEmpty());
        QTest::keyClick(c.File1.widget(), Qt::Key_Down);
        QVERIFY(c.Command1.isEnabled() && !paintedRect(c.Picture1).isEmpty());
        c.File1.setSelectedIndex(15);
        QVERIFY(sameColour(c.Picture1.image().pixel(50, 50), colourOf(2)));
        QCOMPARE(paintedRect(c.Picture1), QRect(0, 13, 101, 75));  // 40 × 30 in the 101-pixel box
        click(c.Command2), click(Form1->CmdShow1), click(c.Check1), click(c.Command1);
        QCOMPARE(QStringList(Module1.FileList1.begin(), Module1.FileList1.end()), entries.mid(1));
        QVERIFY(Module1.DirPath1 == folder + "/" && viewerShows() == "海.bmp" && c.isShown());
        QVERIFY(paintedRect(FrmShow1->Picture1) == QRect(31, 0, 962, 722) &&
                sameColour(FrmShow1->Picture1.image().pixel(500, 300), colourOf(2)));
        LastPaint preview(c.Picture1.widget(), [&c] { return !paintedRect(c.Picture1).isEmpty(); });
        c.Picture1.widget()->update();
        QTRY_VERIFY(preview.showed);
        c.Dir1.setPath(pics), QCoreApplication::processEvents();
        QVERIFY(!preview.showed && c.File1.selectedIndex() == -1 && !c.Command1.isEnabled());
        c.Dir1.setPath(folder), c.File1.setSelectedIndex(8);
        QVERIFY(desktop->shownOnce("Load Error", "bad.jpg"));
        QVERIFY(paintedRect(c.Picture1).isEmpty() && c.Command1.isEnabled());
    }
    // The grid's and the show's start buttons need pictures (and the show an interval); each
    // drive remembers its folder; a drive or folder that cannot be read is reported once and
    // changes nothing.
    void theChoosersRules() {
        const QString empty = desktop->folder("home/empty"), usb = desktop->addDrive("usb");
        const QString deep = desktop->folder("usb/photos/2026");
        writePictures(pics, 2), desktop->folder("home/pics/deeper");
        click(FrmSelect1->Drive1);  // opened, the list shows a volume mounted since the start
        QVERIFY(FrmSelect1->Drive1.widget()->view()->isVisible() &&
                FrmSelect1->Drive1.widget()->findData(usb) >= 0);
        FrmSelect1->Drive1.widget()->hidePopup();
        // Down two folders, then back up by the entries above, each typed and opened by Enter.
        for (const auto& [name, folder] : {std::pair{"pics", pics},
                                           {"deeper", pics + "/deeper"},
                                           {"pics", pics},
                                           {"home", desktop->home()}}) {
            for (Chooser* c : choosers()) {
                QTest::keyClicks(c->Dir1.widget(), name), key(c->Dir1, Qt::Key_Return);
                QVERIFY2(c->Dir1.path() == folder && c->File1.path() == folder, name);
            }
            QVERIFY(FrmSelect12->Command1.isEnabled() == (folder == pics) &&
                    FrmSelectSld->Command1.isEnabled() == (folder == pics));
        }
        FrmSelectSld->Text1.setText(QString()), FrmSelectSld->Dir1.setPath(empty),
            FrmSelectSld->Dir1.setPath(pics);
        QVERIFY(!FrmSelectSld->Command1.isEnabled());
        FrmSelect1->Drive1.setDrive(usb);
        QCOMPARE(FrmSelect1->Dir1.path(), usb);
        FrmSelect1->Dir1.setPath(deep);
        QCOMPARE(FrmSelect1->Dir1.widget()->count(), 3);  // the drive's root, photos, 2026
        FrmSelect1->Drive1.setDrive(desktop->root()), FrmSelect12->Drive1.setDrive(usb);
        QVERIFY(FrmSelect1->Dir1.path() == pics && FrmSelect12->Dir1.path() == deep);
        FrmSelect12->Drive1.setDrive(desktop->root());
        QVERIFY(QDir(usb).removeRecursively());
        for (Chooser* c : choosers()) {
            c->Drive1.setDrive(usb);
            QVERIFY(desktop->shownOnce("Read Error.", "Drive is not ready.") &&
                    c->File1.path() == pics);
        }
        desktop->folder("home/gone"), FrmSelect1->Dir1.setPath(desktop->home());
        QVERIFY(QDir(desktop->home() + "/gone").removeRecursively());
        QListWidget& dirs = *FrmSelect1->Dir1.widget();
        emit dirs.itemActivated(dirs.findItems("gone", Qt::MatchEndsWith).value(0));
        QVERIFY(desktop->shownOnce("Read Error.") && FrmSelect1->Dir1.path() == desktop->home());
        QVERIFY_THROWS_EXCEPTION(platform::Failure, FrmSelect1->Dir1.setPath(pics + "/pic01.bmp"));
    }
    // Fitted, a picture touches two edges of the work area and is centred on the other axis; at
    // natural size it is centred, halves dropped, and may be cut off. One that cannot be loaded
    // is reported once, and the viewer keeps what it showed, or stays hidden.
    void theViewerDraws() {
        const QRect work(0, 0, 1024, 722);
        writeFile(pics + "/zbad.jpg", "not a picture at all");
        // The picture's box, and the rectangle drawn inside it; empty: not fitted.
        for (const auto& [name, natural, box, drawn] :
             {std::tuple{"wider.bmp", QSize(1600, 400), work, QRect(0, 233, 1024, 256)},
              {"enlarged icon.ico", {32, 32}, work, {151, 0, 722, 722}},
              {"odd spare width.bmp", {1000, 751}, work, {31, 0, 961, 722}},
              {"tall.jpg", {300, 900}, work, {392, 0, 240, 722}},
              {"natural, cut off.bmp", {2000, 1500}, {-488, -389, 2000, 1500}, {}},
              {"natural, halves dropped.gif", {41, 31}, {492, 346, 41, 31}, {}},
              {"fitted after natural.bmp", {2000, 1500}, work, {31, 0, 962, 722}}}) {
            writePicture(pics + "/" + name, natural.width(), natural.height());
            FrmSelectSld->Check3.setValue(!drawn.isEmpty());
            FrmShow1->LoadControl1(pics + "/" + name, name, 12);
            QVERIFY2(FrmShow1->isShown() && FrmShow1->Picture1.widget()->isVisible() &&
                         (drawn.isEmpty() || !FrmShow1->Picture2.hasPicture()),  // let go
                     name);
            QCOMPARE(FrmShow1->caption(), QString(" Orlin-Tessary     クリック→閉じる   ") + name);
            QCOMPARE(FrmShow1->Picture1.widget()->geometry(), box);
            if (!drawn.isEmpty()) QCOMPARE(paintedRect(FrmShow1->Picture1), drawn);
            const auto before = shown();
            for (const char* bad : {"zbad.jpg", "missing.bmp"}) {
                FrmShow1->LoadControl1(pics + "/" + bad, bad, 12);
                QVERIFY(desktop->shownOnce("Load Error", bad) && shown() == before);
            }
        }
        for (const int fit : {0, 1}) {
            click(FrmShow1->Picture1), FrmSelectSld->Check3.setValue(fit);
            FrmShow1->LoadControl1(pics + "/zbad.jpg", "zbad.jpg", 1);
            QVERIFY(desktop->shownOnce("Load Error", "zbad.jpg") && !FrmShow1->isShown());
        }
    }
    // Paging by twelve with the control window's buttons or the grid's keys; keys past either
    // end and a click on a blank cell change nothing; a picture that cannot be loaded is
    // reported at each visit and leaves its cell blank; the cells before it are on the screen then.
    void theGridPages() {
        LastPaint first(FrmShow12->Label1[0]->widget(),
                        [] { return !FrmShow12->Label1[0]->caption().isEmpty(); });
        desktop->whileMessageOpen = [&first] { QVERIFY(first.showed); };
        for (const auto& [files, byKeys] : {std::pair{13, false}, {25, true}}) {
            const QString folder = desktop->folder(QString("home/%1-%2").arg(files).arg(byKeys));
            const QStringList names = writePictures(folder, files);
            writeFile(folder + "/pic02.bmp", "no picture");
            const auto page = [&](int first) {
                QVERIFY(int(Module1.CurIndex12) == first && FrmShow12->isShown() &&
                        !FrmSelect12->isShown() && !FrmShow12->Picture2.hasPicture());
                QVERIFY(first > 0 || desktop->shownOnce("Load Error", "pic02.bmp"));
                for (int j = 0; j < 12; ++j) {
                    QCOMPARE(FrmShow12->Label1[j]->caption(), names.value(first + j));
                    const bool drawn = first + j < files && first + j != 1;
                    QCOMPARE(paintedRect(cell(j)), drawn ? QRect(0, 12, 93, 69) : QRect());
                    QVERIFY(!drawn ||
                            sameColour(cell(j).image().pixel(46, 46), colourOf(first + j)));
                }
                QVERIFY(Form1->CmdNext12.isEnabled() == (files - first > 12) &&
                        Form1->CmdPrev12.isEnabled() == (first > 0));
            };
            openGrid(folder), key(*FrmShow12, Qt::Key_Backspace), page(0);
            int at = 0;
            for (; files - at > 12; at += 12)
                byKeys ? key(cell(5), Qt::Key_Return) : click(Form1->CmdNext12), page(at + 12);
            key(*FrmShow12, Qt::Key_Return);
            if (files % 12) click(cell(11));
            QVERIFY(!FrmShow1->isShown());
            page(at);
            for (; at > 0; at -= 12)
                byKeys ? key(*FrmShow12, Qt::Key_Backspace) : click(Form1->CmdPrev12),
                    page(at - 12);
        }
    }
    // Paths below home; a second one is handed over while the first one's box is open.
    void aPathIsShownAsTheUserWouldOpenIt_data() {
        addRows(R"(
picture                 | /pics/pic02.bmp | viewer pic02.bmp
folder                  | /pics           | grid pic01.bmp
folder without pictures | /empty          | chooser /empty
not a picture           | /pics/a.txt     | Open Error: Cannot open /pics/a.txt: Not a BMP, GIF, JPEG or ICO picture
nothing there           | /gone           | Open Error: Cannot open /gone: No such file or folder
a hidden picture        | /pics/.h.bmp    | Open Error: Cannot open /pics/.h.bmp: Not listed among the pictures
a damaged picture       | /bad/bad.jpg    | Load Error: Cannot load bad.jpg: Not a picture file
saved after its folder was listed | +/pics/pic04.bmp | viewer pic04.bmp
none                    |                 |
picture on another drive | usb:/pics/pic02.bmp | viewer pic02.bmp
folder on another drive | usb:/pics        | grid pic01.bmp
while a box is open     | /gone /pics/pic01.bmp | Open Error: Cannot open /gone: No such file or folder; viewer pic01.bmp
)",
                {"paths", "shown"});
    }
    void aPathIsShownAsTheUserWouldOpenIt() {
        const auto [paths, shown] = fetch("paths", "shown");
        if (QSysInfo::productType() == "windows" && paths.contains("/."))
            QSKIP("A name beginning with a dot is a hidden file on Linux alone");
        const QString home = desktop->home();
        writePictures(pics, 3), writeFile(pics + "/a.txt", "notes"), desktop->folder("home/empty");
        writeFile(desktop->folder("home/bad") + "/bad.jpg", "no picture in here");
        const QString usb = desktop->addDrive("usb");
        writePicture(pics + "/.h.bmp", 8, 6), desktop->folder("usb/pics", 3);
        if (paths.startsWith('+'))  // the chooser listed the folder before the picture came
            FrmSelect1->Dir1.setPath(pics), writePicture(home + paths.mid(1), 8, 6);
        QStringList path = QString(paths).remove('+').split(' ');
        for (QString& p : path)
            p = p.isEmpty() ? p : p.startsWith("usb:") ? usb + p.mid(4) : home + p;
        FrmSelectSld->Check3.setValue(1);  // the saved fit option holds
        desktop->whileMessageOpen = [&] {
            if (path.size() < 2 || arrived.size() > 1) return;
            QVERIFY(handedOver(path[1]));
            QTest::qWait(300);
            QCOMPARE(arrived.size(), 1);
        };
        QVERIFY(handedOver(path[0]));
        QTRY_COMPARE(arrived.size(), path.size());
        QStringList seen = std::exchange(desktop->messages, {});
        if (FrmShow1->isShown()) seen << "viewer " + viewerShows();
        if (FrmShow12->isShown()) seen << "grid " + FrmShow12->Label1[0]->caption();
        if (FrmSelect12->isShown()) seen << "chooser " + FrmSelect12->Dir1.path();
        QCOMPARE(platform::shownPath(seen.join("; ")).remove(platform::shownPath(home)),
                 platform::shownPath(shown));
        for (Chooser* c : choosers())  // each showing its folder's drive
            QCOMPARE(c->Drive1.widget()->currentData().toString(),
                     platform::drives::of(c->Dir1.path()));
        QVERIFY(shown != "viewer pic02.bmp" ||
                (FrmSelect1->Dir1.path().endsWith("/pics") && Form1->CmdPrev1.isEnabled() &&
                 Form1->CmdNext1.isEnabled() && FrmShow1->Picture1.scaleWidth() == 1024));
    }
    // Dropped within the time given, in milliseconds, while a good one still arrives.
    void aBadMessageIsDroppedAndBlocksNothing() {
        for (const auto& [bytes, within] : {std::pair{QByteArray("tessary-open /a b\n"), 500},
                                            {QByteArray(1 << 20, 'x'), 500},
                                            {QByteArray("tessary-open %2F"), 5000}}) {
            QLocalSocket bad;
            bad.connectToServer(platform::runningProgramSocket());
            QVERIFY(bad.waitForConnected(1000) && bad.write(bytes) > 0);
            QVERIFY(handedOver(pics));
            QTRY_COMPARE(arrived, QStringList{pics});
            QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QLocalSocket::UnconnectedState, within);
            arrived.clear();
        }
        std::array<QLocalSocket, 9> idle;  // one more than are heard at once: dropped at once
        for (QLocalSocket& s : idle) s.connectToServer(platform::runningProgramSocket());
        QTRY_COMPARE_WITH_TIMEOUT(idle[8].state(), QLocalSocket::UnconnectedState, 1500);
        for (QLocalSocket& s : idle) s.abort();  // gone before their time is up: heard no more
        QTest::qWait(500);
        QVERIFY(handedOver(pics));
        QTRY_COMPARE(arrived, QStringList{pics});
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
