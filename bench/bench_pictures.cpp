// How fast the viewer gets big photographs on screen, and how much memory that takes.
//
// Writes real 24 MP (6000 × 4000) and 45 MP (8256 × 5504) JPEGs with photograph-like content
// (smooth gradients, soft shapes and sensor-like noise, quality 90) into a temporary folder
// once, then times, over several repetitions, the median of:
//   thumbnail  Picture::open + stretchedTo the size a 93 × 93 grid cell fits it to
//   fitted     Picture::open + stretchedTo the size a 1024 × 722 work area fits it to
//   natural    Picture::open + natural(), the full decode
//   viewer     the real viewer window's LoadControl1, fitted to that work area and at natural
//              size (offscreen)
//   cell       one 24 MP file drawn into a cell of the real grid through
//              ThumbnailGrid::LoadAutoSizePicture, as the page fill and the chooser's preview do
//   page       twelve different 24 MP files drawn into the real grid's twelve cells through
//              ThumbnailGrid::LoadAutoSizePicture, one after the other
//   LoopControl the whole page fill of the real grid window over the same twelve files
// and the peak resident memory of each step (VmHWM, reset before each step), above the
// memory the process held before the step.
//
// Usage: bench_pictures [repetitions]   (default 7; runs offscreen unless QT_QPA_PLATFORM is set)
// TESSARY_BENCH_KEEP=folder writes the pictures there and keeps them (reused on the next run).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/fit.h"
#include "grid/thumbnail_grid.h"
#include "platform/picture.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {

constexpr int kThumbnailBox = 93;                    // a grid cell's inner size
constexpr int kWorkWidth = 1024, kWorkHeight = 722;  // 1024 × 768 with a task bar, less 16
constexpr int kPage = 12;

// ---- memory -------------------------------------------------------------------------------

long statusKilobytes(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Resets the peak resident size to the current one (Linux 4.0 and later).
bool resetPeak() {
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// ---- pictures -----------------------------------------------------------------------------

// Photograph-like content: a sky-to-ground gradient, a few soft bright and dark shapes, fine
// texture and per-pixel noise, so that the JPEG has a photograph's entropy and decode cost.
QImage naturalLooking(int width, int height, uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB32);
    struct Blob {
        double x, y, r, strength;
    };
    uint64_t state = 0x9E3779B97F4A7C15ull ^ seed;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::vector<Blob> blobs;
    for (int i = 0; i < 9; ++i) {
        blobs.push_back({double(next() % width), double(next() % height),
                         width * (0.05 + double(next() % 1000) / 6000.0),
                         (double(next() % 200) - 100.0) * 0.9});
    }
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            double r = 70 + 120 * (1 - v) + 30 * u, g = 110 + 90 * (1 - v) - 20 * u,
                   b = 200 * (1 - v) + 40 * v;
            if (v > 0.6) {  // ground
                r = 90 + 60 * u;
                g = 80 + 50 * (1 - u);
                b = 40 + 20 * v;
            }
            for (const Blob& blob : blobs) {
                const double dx = (x - blob.x) / blob.r, dy = (y - blob.y) / blob.r;
                const double d2 = dx * dx + dy * dy;
                if (d2 < 4) {
                    const double w = blob.strength * std::exp(-d2);
                    r += w;
                    g += w * 0.8;
                    b += w * 0.6;
                }
            }
            // Foliage-like texture at a few scales, and sensor noise on every channel.
            const double texture =
                14 * std::sin(x * 0.05 + std::sin(y * 0.013) * 3) *
                    std::sin(y * 0.045 + std::sin(x * 0.011) * 2) +
                9 * std::sin(x * 0.31 + y * 0.17) * std::sin(y * 0.27 - x * 0.05);
            const uint64_t n = next();
            const int grain = int(n % 25) - 12;
            auto clamp = [](double c) { return int(std::clamp(c, 0.0, 255.0)); };
            line[x] = qRgb(clamp(r + texture + grain + int((n >> 8) % 9) - 4),
                           clamp(g + texture + grain + int((n >> 16) % 9) - 4),
                           clamp(b + texture * 0.7 + grain + int((n >> 24) % 9) - 4));
        }
    }
    return image;
}

QString writeJpeg(const QString& folder, const QString& name, int width, int height,
                  uint32_t seed) {
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo::exists(path)) return path;
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(naturalLooking(width, height, seed))) {
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
    }
    return path;
}

// ---- the fit arithmetic of the viewer and the grid -------------------------------------------

QSize fittedToWorkArea(QSize picture) {
    const float sw = float(picture.width()), sh = float(picture.height());
    const float rp = sw / sh;
    const float rs = float(double(kWorkWidth) / double(kWorkHeight));
    if (rs < rp) {
        return {kWorkWidth, int(std::floor(static_cast<long double>(sh) / sw * kWorkWidth))};
    }
    return {int(std::floor(static_cast<long double>(sw) / sh * kWorkHeight)), kWorkHeight};
}

QSize fittedToCell(QSize picture) {
    return FitInBox(float(picture.width()), float(picture.height()), kThumbnailBox, kThumbnailBox)
        .size();
}

// ---- timing -------------------------------------------------------------------------------

struct Result {
    QString name;
    std::vector<double> ms;
    long peakKb = 0;     // above what the process held before the step
    long highestKb = 0;  // the process's resident size at the step's peak
    long afterKb = 0;    // the process's resident size once the step is over
    QString goal;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long g_highestKb = 0;  // the highest resident size any step reached

Result measure(const QString& name, int repetitions, const QString& goal,
               const std::function<void()>& step) {
    step();  // warm-up: the file in the page cache, the decoders loaded
    Result result{name, {}, 0, 0, 0, goal};
    const long before = statusKilobytes("VmRSS");
    const bool reset = resetPeak();
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        result.ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const long peak = statusKilobytes("VmHWM");
    result.peakKb = reset ? peak - before : -1;
    result.highestKb = reset ? peak : -1;
    result.afterKb = statusKilobytes("VmRSS");
    g_highestKb = std::max(g_highestKb, peak);
    return result;
}

// Keeps the compiler from dropping a result.
volatile int g_sink = 0;
void use(const QImage& image) { g_sink = g_sink + image.width() + image.height(); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.gui.imageio=false");
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTextStream out(stdout);

    // The program's windows in a desktop of their own, as the widget tests set them up.
    TestDesktop desktop;
    desktop.startProgram();

    QTemporaryDir temporary;
    const QString kept = qEnvironmentVariable("TESSARY_BENCH_KEEP");
    const QString folder = kept.isEmpty() ? temporary.path() : kept;
    QDir().mkpath(folder);
    out << "Writing the pictures into " << folder << " ..." << Qt::endl;
    QElapsedTimer writing;
    writing.start();
    const QString mp24 = writeJpeg(folder, "photo-24mp-v2.jpg", 6000, 4000, 24);
    const QString mp45 = writeJpeg(folder, "photo-45mp-v2.jpg", 8256, 5504, 45);
    QStringList page;
    for (int i = 0; i < kPage; ++i) {
        const QString name = QString("page%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0'));
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path)) QFile::copy(mp24, path);
        page << name;
    }
    out << "  done in " << writing.elapsed() / 1000.0 << " s: 24 MP "
        << QFileInfo(mp24).size() / 1024 << " KiB, 45 MP " << QFileInfo(mp45).size() / 1024
        << " KiB" << Qt::endl;

    std::vector<Result> results;
    for (const QString& path : {mp24, mp45}) {
        const QString label = path == mp24 ? "24 MP" : "45 MP";
        const QSize natural = platform::Picture::open(path).size();
        const QSize cell = fittedToCell(natural), screen = fittedToWorkArea(natural);
        results.push_back(
            measure(QString("%1 thumbnail %2x%3").arg(label).arg(cell.width()).arg(cell.height()),
                    repetitions, path == mp24 ? "well under 100 ms" : "",
                    [&] { use(platform::Picture::open(path).stretchedTo(cell)); }));
        results.push_back(
            measure(QString("%1 fitted %2x%3").arg(label).arg(screen.width()).arg(screen.height()),
                    repetitions, path == mp24 ? "under ~300 ms" : "",
                    [&] { use(platform::Picture::open(path).stretchedTo(screen)); }));
        results.push_back(measure(
            QString("%1 natural %2x%3").arg(label).arg(natural.width()).arg(natural.height()),
            std::max(3, repetitions / 2), "one full-size picture",
            [&] { use(platform::Picture::open(path).natural()); }));
    }

    // The real viewer window, fitted to a 1024 x 722 work area and at natural size.
    Module1.WorkLeft = 0;
    Module1.WorkTop = 0;
    Module1.WorkRight = kWorkWidth;
    Module1.WorkBottom = kWorkHeight;
    for (const QString& path : {mp24, mp45}) {
        const QString label = path == mp24 ? "24 MP" : "45 MP";
        // Each step shows the other of two copies, as stepping through a folder does, so that
        // nothing of the picture on show can be reused.
        const QString copy = QString(path).replace(".jpg", "-copy.jpg");
        if (!QFileInfo::exists(copy)) QFile::copy(path, copy);
        bool other = false;
        auto next = [&] {
            other = !other;
            const QString shown = other ? copy : path;
            FrmShow1->LoadControl1(shown, QFileInfo(shown).fileName(), 1);
        };
        FrmSelectSld->Check3.setValue(1);
        results.push_back(measure(label + " viewer LoadControl1, fitted", repetitions,
                                  path == mp24 ? "under ~300 ms" : "", next));
        FrmSelectSld->Check3.setValue(0);
        results.push_back(measure(label + " viewer LoadControl1, natural size",
                                  std::max(3, repetitions / 2), "", next));
        FrmShow1->hideWindow();
    }
    FrmSelectSld->Check3.setValue(0);

    // One 24 MP thumbnail into a cell of the real grid, as the page fill and the chooser's
    // preview draw it; then a page of twelve different 24 MP pictures into the twelve cells.
    ThumbnailGrid& grid = *FrmShow12;
    results.push_back(measure(
        "24 MP thumbnail, LoadAutoSizePicture", repetitions, "well under 100 ms",
        [&] { ThumbnailGrid::LoadAutoSizePicture(*grid.Picture1[0], grid.Picture2, mp24); }));
    results.push_back(measure("page of 12 x 24 MP, LoadAutoSizePicture",
                              std::max(3, repetitions / 2), "under ~1.5 s", [&] {
                                  for (int i = 0; i < kPage; ++i) {
                                      ThumbnailGrid::LoadAutoSizePicture(
                                          *grid.Picture1[i], grid.Picture2,
                                          QDir(folder).filePath(page[i]));
                                  }
                              }));
    Module1.FileCount12 = kPage;
    Module1.FileList12 = NewList(kPage);
    for (int i = 0; i < kPage; ++i) Module1.FileList12[i] = page[i];
    Module1.DirPath12 = QDir(folder).path() + '/';
    Module1.CurIndex12 = 0;
    results.push_back(measure("page of 12 x 24 MP, LoopControl", std::max(3, repetitions / 2),
                              "under ~1.5 s", [&] { grid.LoopControl(); }));
    if (!desktop.messages.empty()) {
        out << "A picture could not be loaded: " << desktop.messages.front().text << Qt::endl;
        return 1;
    }

    out << Qt::endl
        << QString("%1 %2 %3 %4 %5 %6 %7  %8")
               .arg("step", -46)
               .arg("median ms", 10)
               .arg("min", 8)
               .arg("max", 8)
               .arg("peak MiB", 9)
               .arg("RSS MiB", 8)
               .arg("after", 6)
               .arg("goal")
        << Qt::endl;
    for (const Result& r : results) {
        const auto [lo, hi] = std::minmax_element(r.ms.begin(), r.ms.end());
        out << QString("%1 %2 %3 %4 %5 %6 %7  %8")
                   .arg(r.name, -46)
                   .arg(median(r.ms), 10, 'f', 1)
                   .arg(*lo, 8, 'f', 1)
                   .arg(*hi, 8, 'f', 1)
                   .arg(r.peakKb < 0 ? QString("?") : QString::number(r.peakKb / 1024.0, 'f', 0), 9)
                   .arg(r.highestKb < 0 ? QString("?")
                                        : QString::number(r.highestKb / 1024.0, 'f', 0),
                        8)
                   .arg(QString::number(r.afterKb / 1024.0, 'f', 0), 6)
                   .arg(r.goal)
            << Qt::endl;
    }
    out << Qt::endl
        << "Highest resident size of the process during a step (windows, caches and all): "
        << g_highestKb / 1024 << " MiB" << Qt::endl
        << "Repetitions " << repetitions << " (natural and page: " << std::max(3, repetitions / 2)
        << ")" << Qt::endl;
    return g_sink == -1;
}
