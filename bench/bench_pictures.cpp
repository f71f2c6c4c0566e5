// How fast the viewer gets big photographs on screen, against what the JPEG decoder itself
// needs for the same pictures, and how much memory that takes. docs/performance.md says what
// each row means.
//
// Usage: bench_pictures [--small] [--repetitions N]
//   --small  pictures a tenth of the size and 300 small files: a run of a few seconds that only
//            shows the benchmark still works
// TESSARY_BENCH_KEEP=folder writes the pictures there and keeps them for the next run.
// The last line of the output is one JSON object with every figure.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "bench/corpus.h"
#include "bench/decoder_limit.h"
#include "grid/fit.h"
#include "platform/work_ahead.h"
#include "tests/support/desktop.h"

namespace {

constexpr int kWorkWidth = 1024, kWorkHeight = 722;  // 1024 × 768 with a task bar, less 16

// ---- measuring ----------------------------------------------------------------------------

long statusKilobytes(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ')[0].toLong();
    }
    return -1;
}

// Resets the peak resident size (VmHWM) to the current one. Linux's /proc alone can: Windows,
// where "/" is no root, keeps no peak that can be reset, and there the memory figures are left out.
bool resetPeak() {
    if (QDir::rootPath() != "/") return false;
    QFile clear("/proc/self/clear_refs");
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        qFatal("cannot reset the peak resident size through /proc/self/clear_refs");
    return true;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Timing {
    double median = 0, min = 0, max = 0;
};
// A figure measured once: its own median, least and most.
Timing once(double figure) { return {figure, figure, figure}; }

// Runs each step once to warm up (files in the page cache, decoders loaded), then the steps in
// turn, repetition after repetition, so that other work on the machine slows them alike. A step
// returns its own figure, or a negative number to be timed.
std::vector<Timing> interleaved(int repetitions,
                                const std::vector<std::function<double()>>& steps) {
    for (const auto& step : steps) step();
    std::vector<std::vector<double>> figures(steps.size());
    for (int i = 0; i < repetitions; ++i) {
        for (size_t s = 0; s < steps.size(); ++s) {
            QElapsedTimer timer;
            timer.start();
            const double reported = steps[s]();
            figures[s].push_back(reported >= 0 ? reported : double(timer.nsecsElapsed()) / 1e9);
        }
    }
    std::vector<Timing> timings;
    for (const auto& f : figures) {
        timings.push_back({median(f), *std::min_element(f.begin(), f.end()),
                           *std::max_element(f.begin(), f.end())});
    }
    return timings;
}

// When a picture box is first painted showing something other than its background.
class FirstDrawn : public QObject {
public:
    explicit FirstDrawn(platform::PictureBox& box) : m_box(box) {
        box.widget()->installEventFilter(this);
    }
    void start() {
        m_timer.start();
        seconds = -1;
        m_wiped = false;
    }
    std::vector<double> all;  // one figure a fill
    double seconds = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint || seconds >= 0) return false;
        const QImage image = m_box.image();
        const bool blank = image.pixel(image.width() / 2, image.height() / 2) ==
                           m_box.widget()->palette().color(QPalette::Window).rgb();
        if (m_wiped && !blank) seconds = double(m_timer.nsecsElapsed()) / 1e9;
        m_wiped = m_wiped || blank;  // the page before is wiped first
        return false;
    }

private:
    platform::PictureBox& m_box;
    QElapsedTimer m_timer;
    bool m_wiped = false;
};

// The names of a page of pictures for a grid's list, n times over from a folder of links.
void listPages(const QString& folder, const QStringList& page, int times) {
    QDir().mkpath(folder);
    Module1.FileCount12 = int16_t(page.size() * times);
    Module1.FileList12 = NewList(Module1.FileCount12);
    for (int i = 0; i < Module1.FileCount12; ++i) {
        const QString name =
            QString("%1-%2").arg(i / page.size()).arg(QFileInfo(page[i % page.size()]).fileName());
        QFile::copy(page[i % page.size()], folder + '/' + name);  // a link is a shortcut on Windows
        Module1.FileList12[i] = name;
    }
    Module1.DirPath12 = folder + '/';
    Module1.CurIndex12 = 0;
}

Timing timed(int repetitions, const std::function<double()>& step) {
    return interleaved(repetitions, {step})[0];
}

double untimed(const std::function<void()>& step) {
    step();
    return -1;
}

// ---- the table and the JSON line -----------------------------------------------------------

struct Row {
    QString name;
    Timing timing;
    QString unit;     // "s" or "MiB"
    double limit;     // the figure's limit, or 0
    QString against;  // what the limit is
};

QString number(double value, int decimals = 3) { return QString::number(value, 'f', decimals); }

void printTable(QTextStream& out, const std::vector<Row>& rows) {
    out << Qt::endl
        << QString("%1 %2 %3 %4 %5 %6  %7")
               .arg("measure", -44)
               .arg("median", 9)
               .arg("min", 9)
               .arg("max", 9)
               .arg("limit", 9)
               .arg("ratio", 6)
               .arg("limit is")
        << Qt::endl;
    for (const Row& r : rows) {
        const int decimals = r.unit == "s" ? 3 : 1;
        out << QString("%1 %2 %3 %4 %5 %6  %7")
                   .arg(r.name + " (" + r.unit + ")", -44)
                   .arg(number(r.timing.median, decimals), 9)
                   .arg(number(r.timing.min, decimals), 9)
                   .arg(number(r.timing.max, decimals), 9)
                   .arg(r.limit > 0 ? number(r.limit, decimals) : QString("-"), 9)
                   .arg(r.limit > 0 ? number(r.timing.median / r.limit, 2) : QString("-"), 6)
                   .arg(r.against)
            << Qt::endl;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool small = args.contains("--small");
    int repetitions = small ? 1 : 7;
    if (const int at = int(args.indexOf("--repetitions")); at > 0 && at + 1 < args.size())
        repetitions = std::max(1, args[at + 1].toInt());
    const int fewer = std::max(small ? 1 : 3, repetitions / 2);  // for the views at natural size
    QTextStream out(stdout);

    QTemporaryDir temporary;
    const QString kept = qEnvironmentVariable("TESSARY_BENCH_KEEP");
    const QString folder = kept.isEmpty() ? temporary.path() : kept;
    QDir().mkpath(folder);
    out << "Writing the pictures into " << folder << " ..." << Qt::endl;
    QElapsedTimer writing;
    writing.start();
    const Corpus corpus = writeCorpus(folder, small);
    out << "  done in " << number(writing.elapsed() / 1000.0, 1) << " s; a page picture is "
        << QFileInfo(corpus.page[0]).size() / 1024 << " KiB, the large one "
        << QFileInfo(corpus.large).size() / 1024 << " KiB" << Qt::endl;

    // The program's windows in a desktop of their own, as the widget tests set them up, with a
    // thumbnail cache of its own, emptied where nothing may be cached.
    TestDesktop desktop;
    const QString cache = desktop.root() + "/cache";
    std::vector<Row> rows;
    const bool measuresMemory = resetPeak();
    QString json;
    // Four significant digits: a figure that is small on a fast machine never prints as 0.
    auto put = [&json](const QString& key, double value) {
        json += QString("%1\"%2\": %3")
                    .arg(json.isEmpty() ? "" : ", ", key, QString::number(value, 'g', 4));
    };

    // Start-up: Form_Load until the control window is shown and painted. The first start in
    // the process pays for fonts and styles; the others start again after a full tear-down.
    QElapsedTimer first;
    first.start();
    Form1->Form_Load();
    QCoreApplication::processEvents();
    const double coldStart = double(first.nsecsElapsed()) / 1e9;
    if (!Form1->isShown()) qFatal("the control window is not shown after Form_Load");
    const Timing start = timed(repetitions, [] {
        TestDesktop::stop();
        QElapsedTimer timer;
        timer.start();
        Form1->Form_Load();
        QCoreApplication::processEvents();
        return double(timer.nsecsElapsed()) / 1e9;
    });
    rows.push_back({"start-up, first in the process", once(coldStart), "s", 0.3, "goal 0.3 s"});
    rows.push_back({"start-up, again", start, "s", 0.3, "goal 0.3 s"});

    // Listing the folder of small pictures in the picture chooser's file list, to its repaint.
    FrmSelect1->showWindow();
    platform::FileList& list = FrmSelect1->File1;
    const Timing listing = timed(repetitions, [&] {
        return untimed([&] {
            list.setPath(corpus.many);
            list.widget()->repaint();
        });
    });
    if (list.entryCount() != corpus.manyCount)
        qFatal("the file list shows %d files, not %d", list.entryCount(), corpus.manyCount);
    list.setPath(desktop.home());
    FrmSelect1->hideWindow();
    rows.push_back(
        {QString("list %1 pictures").arg(corpus.manyCount), listing, "s", 0.25, "goal 0.25 s"});

    // The page fill: the real grid window, shown, over the twelve page pictures, and over the
    // same pictures as a camera writes them.
    ThumbnailGrid& grid = *FrmShow12;
    grid.showWindow();
    const auto listPage = [&](const QStringList& page) {
        Module1.FileCount12 = int16_t(page.size());
        Module1.FileList12 = NewList(int(page.size()));
        for (int i = 0; i < page.size(); ++i) Module1.FileList12[i] = QFileInfo(page[i]).fileName();
        Module1.DirPath12 = folder + '/';
        Module1.CurIndex12 = 0;
    };
    const QSize cellBox(grid.Picture1[0]->scaleWidth(), grid.Picture1[0]->scaleHeight());
    const QSize cell = FitInBox(float(corpus.pageSize.width()), float(corpus.pageSize.height()),
                                cellBox.width(), cellBox.height())
                           .size();
    // The fill decodes on the thread pool and on the UI thread, never on more cores than there are.
    const int cores = std::max(1, std::min(QThread::idealThreadCount(),
                                           QThreadPool::globalInstance()->maxThreadCount() + 1));
    long peakKb = 0;
    LibjpegDecode cellDecode;
    FirstDrawn firstCell(*grid.Picture1[0]), lastEmbedded(*grid.Picture1[11]);
    // One fill of the real grid from an empty cache, the watched cell's time kept, the peak of
    // the resident size above the start remembered.
    const auto fillPage = [&](const QStringList& pictures, FirstDrawn& watched) {
        platform::WorkAhead::waitForAll();  // the last fill's thumbnails written
        QDir(cache).removeRecursively();    // nothing cached
        listPage(pictures);
        const long before = statusKilobytes("VmRSS");
        resetPeak();
        QElapsedTimer timer;
        timer.start();
        watched.start();
        grid.LoopControl();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        watched.all.push_back(watched.seconds);
        peakKb = std::max(peakKb, statusKilobytes("VmHWM") - before);
        return seconds;
    };
    const std::vector<Timing> page = interleaved(
        repetitions,
        {[&] { return fillPage(corpus.page, firstCell); },  // the real page fill
         [&] {  // the decoder's limit: libjpeg's time for the twelve, shared out over the cores
             double sum = 0;
             for (const QString& path : corpus.page)
                 sum += (cellDecode = libjpegDecode(path, cell)).seconds;
             return sum / cores;
         },
         [&] {  // the same twelve libjpeg decodes run at once on the thread pool
             return untimed([&] {
                 QtConcurrent::blockingMap(corpus.page,
                                           [&](const QString& path) { libjpegDecode(path, cell); });
             });
         },
         // the camera's pictures: cell 11 drawn from its embedded thumbnail, then the fill
         [&] { return fillPage(corpus.camera, lastEmbedded); },
         [&] {  // the naive way: each file decoded whole and scaled smoothly, one after the other
             return untimed([&] {
                 for (const QString& path : corpus.page) {
                     const QImage full = QImageReader(path).read();
                     if (full.scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .isNull())
                         qFatal("cannot decode %s", qPrintable(path));
                 }
             });
         }});
    const Timing &fill = page[0], &fillLimit = page[1], &fillParallel = page[2],
                 &cameraFill = page[3], &naive = page[4];
    if (std::ranges::count(lastEmbedded.all, -1.0) > 0)
        qFatal("a fill of the camera's pictures drew no embedded thumbnail in cell 11");
    if (grid.Picture1[11]->image().pixel(cellBox.width() / 2, cellBox.height() / 2) ==
        grid.widget()->palette().color(QPalette::Window).rgb())
        qFatal("the page fill left the last cell blank");
    const QString pageName =
        QString("page of 12 x %1x%2").arg(corpus.pageSize.width()).arg(corpus.pageSize.height());
    rows.push_back({pageName + ", LoopControl", fill, "s", fillLimit.median,
                    QString("libjpeg at %1/8 (%2x%3), summed, / %4 cores")
                        .arg(cellDecode.eighths)
                        .arg(cellDecode.output.width())
                        .arg(cellDecode.output.height())
                        .arg(cores)});
    rows.push_back({pageName + ", decoder's limit", fillLimit, "s", 0, ""});
    rows.push_back({pageName + ", libjpeg on the pool", fillParallel, "s", 0,
                    "the twelve decodes at once, as a check"});
    rows.push_back({pageName + ", naive", naive, "s", 0, "full decode + smooth scale, one by one"});
    if (measuresMemory)
        rows.push_back({pageName + ", peak added",
                        {peakKb / 1024.0, peakKb / 1024.0, peakKb / 1024.0},
                        "MiB",
                        64,
                        "goal 64 MiB (VmHWM over VmRSS before)"});
    firstCell.all.erase(firstCell.all.begin());  // the warm-up
    const double firstCellS = median(firstCell.all);
    rows.push_back({pageName + ", first cell", once(firstCellS), "s", 0.25 * fill.median,
                    "goal 1/4 of the page fill"});
    lastEmbedded.all.erase(lastEmbedded.all.begin());
    const double embeddedS = median(lastEmbedded.all);
    rows.push_back(
        {pageName + ", EXIF thumbnails shown", once(embeddedS), "s", 0.05, "goal 0.05 s"});
    rows.push_back({pageName + " with EXIF, LoopControl", cameraFill, "s",
                    fillParallel.median, "libjpeg on the pool; goal 1.10"});

    // Enter to the last cell of the next page, which was decoded ahead while the first page
    // was on screen; the pages are the same pictures under other names.
    listPages(temporary.path() + "/two-pages", corpus.page, 2);
    const Timing nextPage = timed(repetitions, [&] {
        Module1.CurIndex12 = 0;
        grid.LoopControl();
        platform::WorkAhead::waitForAll();
        QElapsedTimer timer;
        timer.start();
        Form1->CmdNext12_Click();
        return double(timer.nsecsElapsed()) / 1e9;
    });
    rows.push_back({"next page, decoded ahead", nextPage, "s", 0.05, "goal 0.05 s"});

    // A fresh start on the folder of the page, thumbnailed by the fills above, to the last cell.
    const Timing cachedPage = timed(repetitions, [&] {
        TestDesktop::stop();
        Form1->Form_Load();
        listPages(temporary.path() + "/one-page", corpus.page, 1);
        FrmShow12->showWindow();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        FrmShow12->LoopControl();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        platform::WorkAhead::waitForAll();  // thumbnails the first run decoded, written
        return seconds;
    });
    rows.push_back(
        {"page from the thumbnail cache, fresh start", cachedPage, "s", 0.08, "goal 0.08 s"});
    FrmShow12->hideWindow();

    // The viewer, fitted to a 1024 × 722 work area and at natural size; each step shows the
    // other of two files, as stepping through a folder does, so nothing on show is reused.
    Module1.WorkLeft = 0;
    Module1.WorkTop = 0;
    Module1.WorkRight = kWorkWidth;
    Module1.WorkBottom = kWorkHeight;
    const QSize work(kWorkWidth, kWorkHeight);
    struct Viewed {
        QString key, label, a, b;
        QSize size;
        bool jpeg;
    };
    const QString pageMp =
        QString("%1 MP").arg(corpus.pageSize.width() * corpus.pageSize.height() / 1e6, 0, 'f', 1);
    QFile::copy(corpus.large, corpus.large + ".copy.jpg");
    QFile::copy(corpus.bmp, corpus.bmp + ".copy.bmp");
    const std::vector<Viewed> viewed = {
        {"", pageMp + " JPEG", corpus.page[0], corpus.page[1], corpus.pageSize, true},
        {"large_",
         QString("%1 MP JPEG")
             .arg(corpus.largeSize.width() * corpus.largeSize.height() / 1e6, 0, 'f', 1),
         corpus.large, corpus.large + ".copy.jpg", corpus.largeSize, true},
        {"bmp_", pageMp + " BMP", corpus.bmp, corpus.bmp + ".copy.bmp", corpus.pageSize, false}};
    double fittedS = 0, fittedLimitS = 0, naturalS = 0, naturalLimitS = 0;
    for (const Viewed& v : viewed) {
        for (const int fit : {1, 0}) {
            FrmSelectSld->Check3.setValue(fit);
            const QSize drawn =
                !fit ? v.size
                : work.width() * v.size.height() > work.height() * v.size.width()
                    ? QSize(int(std::floor(double(v.size.width()) / v.size.height() * kWorkHeight)),
                            kWorkHeight)
                    : QSize(kWorkWidth,
                            int(std::floor(double(v.size.height()) / v.size.width() * kWorkWidth)));
            bool other = false;
            LibjpegDecode decode;
            std::vector<std::function<double()>> steps = {[&] {
                // LoadControl1 and the window's repaint: the picture on screen.
                return untimed([&] {
                    other = !other;
                    const QString path = other ? v.b : v.a;
                    FrmShow1->LoadControl1(path, QFileInfo(path).fileName(), 1);
                    FrmShow1->widget()->repaint();
                });
            }};
            if (v.jpeg)
                steps.push_back(
                    [&] { return (decode = libjpegDecode(v.a, fit ? drawn : QSize())).seconds; });
            const std::vector<Timing> timings = interleaved(fit ? repetitions : fewer, steps);
            const Timing shown = timings[0], limit = v.jpeg ? timings[1] : Timing{};
            const QString name =
                QString("viewer %1, %2")
                    .arg(v.label,
                         fit ? QString("fitted %1x%2").arg(drawn.width()).arg(drawn.height())
                             : "natural size");
            rows.push_back({name, shown, "s", v.jpeg ? limit.median : 0,
                            v.jpeg ? QString("libjpeg at %1/8 (%2x%3)")
                                         .arg(decode.eighths)
                                         .arg(decode.output.width())
                                         .arg(decode.output.height())
                                   : QString()});
            if (!v.key.isEmpty()) {
                put(v.key + (fit ? "fitted_view_s" : "natural_view_s"), shown.median);
            } else if (fit) {
                fittedS = shown.median, fittedLimitS = limit.median;
            } else {
                naturalS = shown.median, naturalLimitS = limit.median;
            }
        }
        FrmShow1->hideWindow();
    }

    // Enter in the viewer, the next picture decoded ahead while the one before was on screen.
    Module1.FileCount1 = int16_t(corpus.page.size());
    Module1.FileList1 = NewList(Module1.FileCount1);
    for (int i = 0; i < Module1.FileCount1; ++i)
        Module1.FileList1[i] = QFileInfo(corpus.page[i]).fileName();
    Module1.DirPath1 = folder + '/';
    auto showFirst = [&](bool stepsOn) {
        Module1.CurIndex1 = 0;
        Form1->CmdNext1.setEnabled(stepsOn);
        FrmShow1->LoadControl1(corpus.page[0], Module1.FileList1[0], 1);
        FrmShow1->widget()->repaint();
        platform::WorkAhead::waitForAll();
    };
    auto stepNext = [&] {
        QElapsedTimer timer;
        timer.start();
        Form1->CmdNext1_Click();
        FrmShow1->widget()->repaint();
        return double(timer.nsecsElapsed()) / 1e9;
    };
    FrmSelectSld->Check3.setValue(1);
    const Timing nextPicture = timed(repetitions, [&] {
        showFirst(true);
        return stepNext();
    });
    rows.push_back({"viewer, Enter to the next " + pageMp + " fitted, decoded ahead", nextPicture,
                    "s", 0.03, "goal 0.03 s"});
    // At natural size: the memory the picture decoded ahead adds (VmHWM over VmRSS before).
    FrmSelectSld->Check3.setValue(0);
    showFirst(false);
    const long beforeAhead = statusKilobytes("VmRSS");
    resetPeak();
    showFirst(true);
    const double aheadMb = (statusKilobytes("VmHWM") - beforeAhead) / 1024.0;
    const double nextNaturalS = stepNext();
    const double heldMb = double(platform::WorkAhead::peakBytes()) / (1 << 20);
    rows.push_back({"viewer, Enter to the next at natural size, decoded ahead", once(nextNaturalS),
                    "s", 0, ""});
    if (measuresMemory)
        rows.push_back({"work ahead, memory added at natural size", once(aheadMb), "MiB", 128,
                        "goal 128 MiB (VmHWM over VmRSS before)"});
    rows.push_back({"work ahead, most held at once", once(heldMb), "MiB", 128, "goal 128 MiB"});
    FrmShow1->hideWindow();

    // What the choosers decode while the user looks at them: "１２枚ずつ表示" on a folder never
    // seen, and "開く" on a fitted page picture, each a second after the chooser showed it; and
    // the memory that work adds (VmHWM over VmRSS before).
    double chooserAheadMb = 0;
    const auto lookedAtForASecond = [&](const std::function<void()>& show) {
        const long before = statusKilobytes("VmRSS");
        resetPeak();
        show();
        QTest::qWait(1000);
        chooserAheadMb = std::max(chooserAheadMb, (statusKilobytes("VmHWM") - before) / 1024.0);
    };
    int visits = 0;
    const Timing chooserPage = timed(repetitions, [&] {
        platform::WorkAhead::waitForAll();
        QDir(cache).removeRecursively();
        const QString unseen = QString("%1/chooser-%2").arg(temporary.path()).arg(++visits);
        listPages(unseen, corpus.page, 1);
        Form1->CmdShow12_Click();
        lookedAtForASecond([&] { FrmSelect12->Dir1.setPath(unseen); });
        QElapsedTimer timer;
        timer.start();
        FrmSelect12->Command1_Click();
        return double(timer.nsecsElapsed()) / 1e9;
    });
    rows.push_back({"12 at a time, a second after the chooser showed the folder", chooserPage, "s",
                    0.05, "goal 0.05 s"});
    FrmSelectSld->Check3.setValue(1);
    Form1->CmdShow1_Click();
    FrmSelect1->Dir1.setPath(folder);
    const Timing chooserOpen = timed(repetitions, [&] {
        FrmShow1->hideWindow();
        const QString name = QFileInfo(corpus.page[visits++ % 2 * 6]).fileName();  // no neighbours
        lookedAtForASecond(
            [&] { FrmSelect1->File1.setSelectedIndex(FrmSelect1->File1.indexOf(name)); });
        QElapsedTimer timer;
        timer.start();
        FrmSelect1->Command1_Click();
        FrmShow1->widget()->repaint();
        return double(timer.nsecsElapsed()) / 1e9;
    });
    rows.push_back({"open " + pageMp + " fitted, a second after the chooser previewed it",
                    chooserOpen, "s", 0.03, "goal 0.03 s"});
    if (measuresMemory)
        rows.push_back({"chooser's work ahead, memory added", once(chooserAheadMb), "MiB", 64,
                        "goal 64 MiB (VmHWM over VmRSS before)"});
    FrmShow1->hideWindow();
    FrmSelectSld->Check3.setValue(0);
    if (!desktop.messages.empty())
        qFatal("a picture could not be loaded: %s", qPrintable(desktop.messages.front()));

    printTable(out, rows);
    out << Qt::endl
        << "Cores " << QThread::idealThreadCount() << ", thread pool "
        << QThreadPool::globalInstance()->maxThreadCount() << ", repetitions " << repetitions
        << " (natural size " << fewer << "), " << (small ? "small corpus" : "full corpus")
        << Qt::endl;

    const QString extra = json;
    json.clear();
    put("page_fill_s", fill.median);
    put("page_fill_limit_s", fillLimit.median);
    put("page_fill_naive_s", naive.median);
    put("page_fill_limit_pool_s", fillParallel.median);
    put("fitted_view_s", fittedS);
    put("fitted_view_limit_s", fittedLimitS);
    put("natural_view_s", naturalS);
    put("natural_view_limit_s", naturalLimitS);
    put("list_32767_s", listing.median);
    put("startup_s", std::max(coldStart, start.median));
    put("page_fill_ratio", fill.median / fillLimit.median);
    put("page_fill_speedup_vs_naive", naive.median / fill.median);
    put("page_fill_pool_ratio", fill.median / fillParallel.median);
    put("fitted_view_ratio", fittedS / fittedLimitS);
    put("natural_view_ratio", naturalS / naturalLimitS);
    put("list_32767_ratio", listing.median / 0.25);
    put("startup_ratio", std::max(coldStart, start.median) / 0.3);
    put("first_cell_s", firstCellS);
    put("first_cell_ratio", firstCellS / fill.median);
    put("embedded_page_s", embeddedS);
    put("embedded_page_ratio", embeddedS / 0.05);
    put("embedded_exact_page_s", cameraFill.median);
    put("embedded_exact_page_pool_ratio", cameraFill.median / fillParallel.median);
    put("next_page_s", nextPage.median);
    put("cached_page_s", cachedPage.median);
    put("next_picture_s", nextPicture.median);
    put("next_natural_picture_s", nextNaturalS);
    put("ahead_held_peak_mb", heldMb);
    put("chooser_page_s", chooserPage.median);
    put("chooser_open_s", chooserOpen.median);
    if (measuresMemory) {
        put("page_fill_peak_mb", peakKb / 1024.0);
        put("page_fill_peak_ratio", peakKb / 1024.0 / 64);
        put("chooser_ahead_mb", chooserAheadMb);
    }
    put("ahead_peak_mb", measuresMemory ? std::max(aheadMb, heldMb) : heldMb);
    put("cores", cores);
    put("small", small ? 1 : 0);
    out << "{" << json << ", " << extra << "}" << Qt::endl;
    return 0;
}
