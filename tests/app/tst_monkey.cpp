// Thousands of random presses, keys and clicks, from a fixed seed, on whatever the windows offer
// at the moment: enabled buttons, list entries, check boxes, the interval box, thumbnails, the
// viewer, the frames' close buttons, the slideshow's ticks. After every action the navigation
// buttons are enabled only where their step exists, and no index has left its list.
#include <QElapsedTimer>
#include <random>

#include "app/number_text.h"
#include "tests/support/fixture.h"

namespace {
const QStringList kBadFiles = {"damaged.bmp", "empty.jpg", "letter.gif"};

// A list entry made current by the keys a user would press, then maybe opened with Enter.
void keyTo(QListWidget& list, int row, bool open) {
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home);
    for (int i = 0; i < row; ++i) QTest::keyClick(&list, Qt::Key_Down);
    if (open) QTest::keyClick(&list, Qt::Key_Return);
}

// A click on a list entry, or a double-click.
void clickEntry(QListWidget& list, int row, bool twice) {
    list.scrollToItem(list.item(row));
    const QPoint at = list.visualItemRect(list.item(row)).center();
    if (twice) {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
}
}  // namespace

class MonkeyTest : public DesktopTest {
    Q_OBJECT
public:
    MonkeyTest() : DesktopTest(false) {}

private:
    // Another seed and more actions can be asked for: TESSARY_MONKEY_SEED, TESSARY_MONKEY_ACTIONS.
    std::mt19937 m_engine{unsigned(qEnvironmentVariableIntValue("TESSARY_MONKEY_SEED")) ?: 424242u};
    int below(int n) { return n > 0 ? int(m_engine() % unsigned(n)) : 0; }
    // What the user could do now, grouped by window: a window is picked first, then one of its
    // actions, so that a window with many controls does not crowd out the others.
    QMap<QString, QList<std::pair<QString, std::function<void()>>>> m_actions;
    QString m_window;
    void offer(const QString& name, std::function<void()> action) { m_actions[m_window].push_back({name, std::move(action)}); }

    void prepare() override {
        useWorkArea();
        TestDesktop::writePictures(pics, 27, "pic", 12, 9);
        TestDesktop::writeFile(pics + "/damaged.bmp", damagedBmp());
        TestDesktop::writeFile(pics + "/empty.jpg", "");
        TestDesktop::writeFile(pics + "/letter.gif", "Dear reader,\n");
        desktop->folderWith("home/pics/one", 1);
        desktop->folderWith("home/pics/twentyfour", 24);
        desktop->folder("home/pics/none");
        const QString stick = desktop->addDrive("stick");
        desktop->folderWith("stick/more", 13);
        desktop->startProgram();
        FrmSelectSld->Random().seed(m_engine());  // the random show order follows the seed too
        for (Chooser* chooser : QList<Chooser*>{FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()})
            chooser->Dir1.setPath(pics);
    }

    // The folder list's entries that stay on the test's drive, and the file list's entries.
    void offerChooser(Chooser& chooser, const QString& name) {
        const int folders = chooser.Dir1.count();
        const int row = below(folders);
        offer(name + " folder by keys", [&chooser, row] { keyTo(chooser.Dir1, row, true); });
        offer(name + " folder by double-click", [&chooser, row] { clickEntry(chooser.Dir1, row, true); });
        offer(name + " next drive", [&chooser] { QTest::keyClick(&chooser.Drive1, Qt::Key_Down); });
        offer(name + " previous drive", [&chooser] { QTest::keyClick(&chooser.Drive1, Qt::Key_Up); });
        if (chooser.File1.isEnabled() && chooser.File1.entryCount() > 0) {
            const int file = below(chooser.File1.entryCount());
            offer(name + " file by click", [&chooser, file] { clickEntry(chooser.File1, file, false); });
            offer(name + " file by double-click", [&chooser, file] { clickEntry(chooser.File1, file, true); });
            offer(name + " file by keys", [&chooser, file] { keyTo(chooser.File1, file, false); });
        }
        offer(name + " closed by its frame", [&chooser] { chooser.closeByFrame(); });
    }
    void offerButton(platform::CommandButton& button, const QString& name) {
        if (button.isEnabled() && button.isVisible()) offer(name, [&button] { click(&button); });
    }

    // What the user could do now.
    void collectActions() {
        m_actions.clear();
        ControlWindow& form = *Form1;
        m_window = "control window";
        for (auto* button : navigationButtons()) offerButton(*button, "control " + button->caption());
        m_window = "file chooser";
        if (FrmSelect1.exists() && FrmSelect1->isVisible()) {
            FileChooser& c = *FrmSelect1;
            offerChooser(c, "file chooser");
            for (int i = 0; i < 3; ++i) offerButton(c.Command1, "open");
            offerButton(c.Command2, "file chooser cancel");
            offer("file chooser fit", [&c] { click(&c.Check1); });
        }
        m_window = "folder chooser";
        if (FrmSelect12.exists() && FrmSelect12->isVisible()) {
            FolderChooser& c = *FrmSelect12;
            offerChooser(c, "folder chooser");
            for (int i = 0; i < 3; ++i) offerButton(c.Command1, "show twelve");
            offerButton(c.Command2, "folder chooser cancel");
            offer("folder chooser fit", [&c] { click(&c.Check1); });
        }
        m_window = "slideshow setup";
        if (FrmSelectSld.exists() && FrmSelectSld->isVisible()) {
            SlideshowSetup& c = *FrmSelectSld;
            offerChooser(c, "slideshow setup");
            for (int i = 0; i < 3; ++i) offerButton(c.Command1, "start show");
            offerButton(c.Command2, "slideshow cancel");
            for (auto* check : {&c.Check1, &c.Check2, &c.Check3}) offer("slideshow option", [check] { click(check); });
            static const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_0, Qt::Key_6, Qt::Key_Period,
                                           Qt::Key_Backspace, Qt::Key_A, Qt::Key_Minus};
            const Qt::Key key = keys[below(std::size(keys))];
            offer("interval key", [&c, key] { QTest::keyClick(&c.Text1, key); });
        }
        m_window = "viewer";
        if (FrmShow1.exists() && FrmShow1->isVisible()) {
            PictureViewer& v = *FrmShow1;
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_X})
                offer("viewer key", [&v, key] { QTest::keyClick(&v, key); });
            offer("viewer picture click", [&v] { click(&v.Picture1); });
            offer("viewer window click", [&v] { QTest::mouseClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(v.width() - 2, v.height() - 2)); });
            offer("viewer closed by its frame", [&v] { v.closeByFrame(); });
        }
        m_window = "grid";
        if (FrmShow12.exists() && FrmShow12->isVisible()) {
            ThumbnailGrid& g = *FrmShow12;
            const int cell = below(ThumbnailGrid::kPage);
            offer("thumbnail click", [&g, cell] { click(g.Picture1[cell].get()); });
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Space})
                offer("grid key", [&g, key] { QTest::keyClick(&g, key); });
            offer("grid closed by its frame", [&g] { g.closeByFrame(); });
        }
        m_window = "timer";
        if (FrmSelectSld.exists() && FrmSelectSld->Timer1.running()) offer("tick", [] { tick(); });
        // A mode button starts over: pressed now and then, or when nothing else is on offer.
        m_window = "mode";
        if (below(4) == 0 || m_actions.isEmpty()) {
            for (auto* button : {&form.CmdShow1, &form.CmdShow12, &form.CmdSld}) offerButton(*button, "mode " + button->caption());
        }
        if (below(2000) == 0) {
            offer("program closed and started again", [this] {
                Form1->closeByFrame();
                QVERIFY(desktop->ended);
                desktop->ended = false;
                TestDesktop::tearDownProgram();
                desktop->startProgram();
                FrmSelectSld->Random().seed(m_engine());
            });
        }
    }

    // The navigation table's promises, and every index inside its list.
    void verifyInvariants() {
        const SharedState& m = Module1;
        ControlWindow& form = *Form1;
        QVERIFY(m.FileList1.empty() || int(m.FileList1.size()) == m.FileCount1 + 1);
        QVERIFY(m.FileList12.empty() || int(m.FileList12.size()) == m.FileCount12 + 1);
        QVERIFY(m.FileListSld.empty() || int(m.FileListSld.size()) == m.FileCountSld + 1);
        if (form.CmdNext1.isEnabled() || form.CmdPrev1.isEnabled()) QVERIFY(m.CurIndex1 >= 0 && m.CurIndex1 < m.FileCount1);
        if (form.CmdNext1.isEnabled()) QVERIFY(m.CurIndex1 + 1 < m.FileCount1);
        if (form.CmdPrev1.isEnabled()) QVERIFY(m.CurIndex1 > 0);
        QVERIFY(m.CurIndex12 >= 0 && m.CurIndex12 % 12 == 0);
        QVERIFY(m.CurIndex12 == 0 || m.CurIndex12 < m.FileCount12);
        if (form.CmdNext12.isEnabled() || m.Next12Saved) QVERIFY(m.FileCount12 - m.CurIndex12 > 12);
        if (form.CmdPrev12.isEnabled() || m.Prev12Saved == -1) QVERIFY(m.CurIndex12 > 0);
        QVERIFY(m.Prev12Saved == 0 || m.Prev12Saved == -1);
        const bool running = FrmSelectSld->Timer1.running();
        if (form.CmdNextSld.isEnabled()) QVERIFY(running && m.CurIndexSld + 1 < m.FileCountSld);
        if (form.CmdPrevSld.isEnabled()) QVERIFY(running && m.CurIndexSld > 0);
        // A running show can always be stopped, and its slide is in its list.
        if (running) {
            QVERIFY(m.CurIndexSld >= 0 && m.CurIndexSld < m.FileCountSld);
            QVERIFY(form.CmdBrkSld.isEnabled() && form.CmdBrkSld.caption() == QStringLiteral("停止"));
        }
        if (form.CmdBrkSld.isEnabled()) QVERIFY(m.CurIndexSld >= 0 && m.CurIndexSld < m.FileCountSld);
        // One fit setting, and an interval that is empty or valid.
        QCOMPARE(FrmSelect1->Check1.value(), FrmSelectSld->Check3.value());
        QCOMPARE(FrmSelect12->Check1.value(), FrmSelectSld->Check3.value());
        const QString interval = FrmSelectSld->Text1.text();
        QVERIFY(interval.isEmpty() || (NumberAtStart(interval) >= 1 && NumberAtStart(interval) <= 60));
        if (FrmSelectSld->Command1.isEnabled()) QVERIFY(!interval.isEmpty() && FrmSelectSld->File1.entryCount() > 0);
    }

    // Only the files that cannot be loaded give a message, each a "Load Error" naming one.
    int takeLoadErrors() {
        const int n = int(desktop->messages.size());
        for (const RecordedMessage& m : desktop->messages) {
            const bool named = std::any_of(kBadFiles.begin(), kBadFiles.end(),
                                           [&](const QString& bad) { return m.text.startsWith("Cannot load " + bad + ":"); });
            if (m.title != "Load Error" || !named) {
                qWarning("%s: %s", qPrintable(m.title), qPrintable(m.text));
                return -1;
            }
        }
        desktop->messages.clear();
        return n;
    }

private slots:
    void randomActionsKeepTheNavigationTable() {
        const int kActions = qEnvironmentVariableIntValue("TESSARY_MONKEY_ACTIONS") ?: 20000;
        QMap<QString, int> done;
        int loadErrors = 0;
        QStringList recent;
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; n < kActions; ++n) {
            collectActions();
            const auto& offered = std::next(m_actions.cbegin(), below(int(m_actions.size())));
            const auto& [name, action] = offered->at(below(int(offered->size())));
            recent.push_back(name);
            if (recent.size() > 12) recent.pop_front();
            action();
            const int errors = takeLoadErrors();
            verifyInvariants();
            if (QTest::currentTestFailed() || errors < 0) qFatal("after action %d, the last ones: %s", n, qPrintable(recent.join(", ")));
            loadErrors += errors;
            ++done[name.section(' ', 0, 1)];
        }
        QStringList kinds;
        for (auto it = done.begin(); it != done.end(); ++it) kinds << QString("%1 %2").arg(it.key()).arg(it.value());
        qInfo("%d actions in %lld ms, %d Load Errors: %s", kActions, clock.elapsed(), loadErrors, qPrintable(kinds.join(", ")));
    }
};

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
