// Long runs: a slideshow over 1000 pictures on repeat, ticked through two and a half passes, and
// 500 page turns of the grid. After a warm-up the memory stays flat and no object, timer, file
// handle or window is left behind; every window still answers afterwards.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMutex>
#include <set>

#include "tests/support/fixture.h"

// Qt's object hooks, the ones debugging tools use: Qt calls them for every QObject made and
// destroyed, on any thread.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {
constexpr int kAddObjectHook = 3, kRemoveObjectHook = 4;
constexpr int kPictures = 1000;

QMutex g_objectsMutex;
std::set<QObject*> g_objects;

void objectAdded(QObject* object) {
    QMutexLocker lock(&g_objectsMutex);
    g_objects.insert(object);
}
void objectRemoved(QObject* object) {
    QMutexLocker lock(&g_objectsMutex);
    g_objects.erase(object);
}

// What a leak would make grow.
struct Footprint {
    qint64 residentKb;
    int objects;
    int activeTimers;
    int openFiles;
    int windows;
};

qint64 residentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

Footprint measure() {
    // Windows closed along the way go now, as they would in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Footprint now{residentKb(), 0, 0,
                  int(QDir("/proc/self/fd")
                          .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                          .size()),
                  int(QApplication::topLevelWidgets().size())};
    // Nothing in here may make a QObject: the hooks would wait for this lock.
    QMutexLocker lock(&g_objectsMutex);
    now.objects = int(g_objects.size());
    for (QObject* object : g_objects) {
        now.activeTimers +=
            int(QAbstractEventDispatcher::instance()->registeredTimers(object).size());
    }
    return now;
}

// A per-step leak over hundreds of steps shows as hundreds; a few objects made once by Qt
// on first use (a cache, a worker thread) do not count.
constexpr int kObjectSlack = 20;
constexpr int kFileSlack = 4;
constexpr qint64 kMemorySlackKb = 20 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;  // AddressSanitizer holds freed memory in quarantine
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif
#else
constexpr bool kMemoryMeasured = true;
#endif

void verifyFlat(const Footprint& before, const Footprint& after, const char* run) {
    qInfo("%s: resident %lld kB -> %lld kB, %d -> %d objects, %d -> %d timers, %d -> %d files, "
          "%d -> %d windows",
          run, before.residentKb, after.residentKb, before.objects, after.objects,
          before.activeTimers, after.activeTimers, before.openFiles, after.openFiles,
          before.windows, after.windows);
    if (kMemoryMeasured) QVERIFY(after.residentKb - before.residentKb < kMemorySlackKb);
    QVERIFY(after.objects - before.objects < kObjectSlack);
    QCOMPARE(after.activeTimers, before.activeTimers);
    QVERIFY(after.openFiles - before.openFiles < kFileSlack);
    QCOMPARE(after.windows, before.windows);
}
}  // namespace

class LongRunTest : public DesktopTest {
    Q_OBJECT
    QString folder;

    void prepare() override {
        useWorkArea();
        folder = desktop->folderWith("home/long", kPictures);
    }

    // n ticks of the show; the user switches fit to screen every 250 slides.
    void tickThrough(int n) {
        for (int i = 0; i < n; ++i) {
            if (i % 250 == 0) FrmSelectSld->Check3.setValue(1 - FrmSelectSld->Check3.value());
            tick();
        }
    }

    // n page turns: forward to the last page, back to the first, and so on.
    void turnPages(int n, bool& forward) {
        for (int i = 0; i < n; ++i) {
            if (!Form1->CmdNext12.isEnabled()) forward = false;
            if (!Form1->CmdPrev12.isEnabled()) forward = true;
            click(forward ? &Form1->CmdNext12 : &Form1->CmdPrev12);
        }
    }

    // Each window takes a click and does what it does.
    void everyWindowAnswers() {
        openGrid(folder, 1);
        QCOMPARE(FrmShow12->Label1[0]->caption(), QString("pic13.bmp"));
        click(FrmShow12->Picture1[1].get());
        QCOMPARE(viewerShows(), QString("pic14.bmp"));
        click(&FrmShow1->Picture1);
        QVERIFY(!FrmShow1->isVisible());
        QVERIFY(Form1->CmdPrev12.isEnabled());

        openSingle(folder, 998);
        QCOMPARE(viewerShows(), QString("pic999.bmp"));
        click(&Form1->CmdNext1);
        QCOMPARE(viewerShows(), QString("pic1000.bmp"));
        QVERIFY(!Form1->CmdNext1.isEnabled());
        click(&FrmShow1->Picture1);

        click(&Form1->CmdSld);
        QVERIFY(FrmSelectSld->isVisible());
        click(&FrmSelectSld->Command2);
        QVERIFY(!FrmSelectSld->isVisible());
    }

private slots:
    void initTestCase() {
        qtHookData[kAddObjectHook] = reinterpret_cast<quintptr>(&objectAdded);
        qtHookData[kRemoveObjectHook] = reinterpret_cast<quintptr>(&objectRemoved);
    }
    void cleanupTestCase() {
        qtHookData[kAddObjectHook] = 0;
        qtHookData[kRemoveObjectHook] = 0;
    }

    void aSlideshowOfAThousandPicturesOnRepeat() {
        startShow(folder, "5", 1);
        QCOMPARE(viewerShows(), QString("pic01.bmp"));
        tickThrough(kPictures);  // the warm-up: one pass, and round to the first picture again
        QCOMPARE(viewerShows(), QString("pic01.bmp"));
        const Footprint before = measure();
        tickThrough(kPictures * 3 / 2);
        const Footprint after = measure();
        QCOMPARE(int(Module1.CurIndexSld), kPictures / 2);
        QCOMPARE(viewerShows(), QString("pic%1.bmp").arg(kPictures / 2 + 1));
        QVERIFY(FrmSelectSld->Timer1.running());
        verifyFlat(before, after, "slideshow, 1500 slides");
        everyWindowAnswers();
    }

    void fiveHundredPageTurnsOfTheGrid() {
        openGrid(folder);
        bool forward = true;
        turnPages(100, forward);  // the warm-up
        const Footprint before = measure();
        turnPages(400, forward);
        const Footprint after = measure();
        // Six times 83 turns from the first page to the last or back, then two forward.
        QCOMPARE(int(Module1.CurIndex12), 2 * 12);
        QCOMPARE(FrmShow12->Label1[0]->caption(), QString("pic25.bmp"));
        verifyFlat(before, after, "grid, 400 page turns");
        everyWindowAnswers();
    }
};

QTEST_MAIN(LongRunTest)
#include "tst_long_runs.moc"
