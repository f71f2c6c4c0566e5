#include "bench/corpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "tests/support/desktop.h"

namespace {

uint64_t mix(uint64_t x) {  // splitmix64: a seed per row keeps rows independent and repeatable
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Photograph-like content, so that the JPEG has a photograph's entropy and decode cost: sky and
// ground gradients, soft bright and dark shapes, foliage-like texture at several scales and
// per-pixel sensor noise. The texture's sines are split into row and column tables.
QImage photoLike(int width, int height, uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB32);
    struct Blob {
        double x, y, r, strength;
    };
    std::vector<Blob> blobs;
    for (int i = 0; i < 9; ++i) {
        const uint64_t a = mix(seed * 97 + i), b = mix(a), c = mix(b), d = mix(c);
        blobs.push_back({double(a % width), double(b % height),
                         width * (0.05 + double(c % 1000) / 6000.0), (double(d % 200) - 100.0)});
    }
    const double phase = seed * 0.7;
    std::vector<double> sx1(width), cx1(width), sx2(width), cx2(width), sx3(width), cx3(width);
    for (int x = 0; x < width; ++x) {
        sx1[x] = std::sin(x * 0.05 + phase), cx1[x] = std::cos(x * 0.05 + phase);
        const double wob = 2 * std::sin(x * 0.011);
        sx2[x] = std::sin(wob), cx2[x] = std::cos(wob);
        sx3[x] = std::sin(x * 0.31), cx3[x] = std::cos(x * 0.31);
    }
    std::vector<int> rows(height);
    std::iota(rows.begin(), rows.end(), 0);
    QtConcurrent::blockingMap(rows, [&](int y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / height, wob = 3 * std::sin(y * 0.013);
        const double sy1 = std::sin(wob), cy1 = std::cos(wob);
        const double sy2 = std::sin(y * 0.045), cy2 = std::cos(y * 0.045);
        const double sy3 = std::sin(y * 0.17), cy3 = std::cos(y * 0.17);
        const double sy4 = std::sin(y * 0.27), cy4 = std::cos(y * 0.27);
        uint64_t state = mix((uint64_t(seed) << 32) | uint32_t(y));
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            double r = 70 + 120 * (1 - v) + 30 * u, g = 110 + 90 * (1 - v) - 20 * u,
                   b = 200 * (1 - v) + 40 * v;
            if (v > 0.6) {  // ground
                r = 90 + 60 * u, g = 80 + 50 * (1 - u), b = 40 + 20 * v;
            }
            for (const Blob& blob : blobs) {
                const double dx = (x - blob.x) / blob.r, dy = (y - blob.y) / blob.r;
                if (std::abs(dx) < 2 && std::abs(dy) < 2) {
                    const double w = blob.strength * std::exp(-(dx * dx + dy * dy));
                    r += w, g += w * 0.8, b += w * 0.6;
                }
            }
            // sin(a + b) = sin a cos b + cos a sin b, from the tables.
            const double t1 = (sx1[x] * cy1 + cx1[x] * sy1) * (sy2 * cx2[x] + cy2 * sx2[x]);
            const double t2 = (sx3[x] * cy3 + cx3[x] * sy3) * (sy4 * cx1[x] - cy4 * sx1[x]);
            const double texture = 14 * t1 + 9 * t2;
            state ^= state << 13, state ^= state >> 7, state ^= state << 17;
            const int grain = int(state % 25) - 12;
            auto channel = [](double c) { return int(std::clamp(c, 0.0, 255.0)); };
            line[x] = qRgb(channel(r + texture + grain + int((state >> 8) % 9) - 4),
                           channel(g + texture + grain + int((state >> 16) % 9) - 4),
                           channel(b + texture * 0.7 + grain + int((state >> 24) % 9) - 4));
        }
    });
    return image;
}

void write(const QString& path, QSize size, uint32_t seed, const char* format) {
    if (QFileInfo::exists(path)) return;
    QImageWriter writer(path + ".part", format);
    writer.setQuality(90);
    const bool written = writer.write(photoLike(size.width(), size.height(), seed));
    writer.device()->close();  // Windows renames no file that is open
    if (!written || !QFile::rename(path + ".part", path)) {
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
    }
}

// A picture as a camera writes it: its EXIF block holds a 160 × 120 thumbnail, the picture
// between black bars where its proportions are not 4:3.
void writeCameraLike(const QString& path, const QString& picture) {
    if (QFileInfo::exists(path)) return;
    QImageReader reader(picture);
    const QSize inside = reader.size().scaled(160, 120, Qt::KeepAspectRatio);
    reader.setScaledSize(inside);
    QImage thumbnail(160, 120, QImage::Format_RGB32);
    thumbnail.fill(Qt::black);
    QPainter(&thumbnail)
        .drawImage((160 - inside.width()) / 2, (120 - inside.height()) / 2, reader.read());
    writeFile(path + ".part", withExif(readAll(picture), 1, encoded(thumbnail, "jpeg")));
    if (!QFile::rename(path + ".part", path)) qFatal("cannot write %s", qPrintable(path));
}

// Small pictures under names a folder of photographs has, in the four spellings the file list
// matches, with files of other kinds between them that it leaves out.
void writeMany(const QString& folder, int count) {
    QDir().mkpath(folder);
    if (QDir(folder).count() >= uint(count) + 2) return;
    QImage tiny(8, 6, QImage::Format_RGB32);
    tiny.fill(qRgb(90, 120, 60));
    QFile bytes(folder + ".bmp");
    if (!tiny.save(bytes.fileName(), "bmp") || !bytes.open(QIODevice::ReadOnly))
        qFatal("cannot write %s", qPrintable(bytes.fileName()));
    const QByteArray content = bytes.readAll();
    const char* suffixes[] = {".jpg", ".JPG", ".bmp", ".gif"};
    for (int i = 1; i <= count; ++i) {
        QFile file(QString("%1/IMG_%2%3").arg(folder).arg(i).arg(suffixes[i % 4]));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        if (i % 100 == 0) {
            QFile other(QString("%1/IMG_%2.txt").arg(folder).arg(i));
            other.open(QIODevice::WriteOnly);
        }
    }
}

}  // namespace

Corpus writeCorpus(const QString& folder, bool small) {
    Corpus corpus;
    const int scale = small ? 10 : 1;
    corpus.pageSize = QSize(6000, 4000) / scale;
    corpus.largeSize = QSize(8000, 6000) / scale;
    const QString tag = small ? "small" : "full";
    const QDir dir(folder);
    for (int i = 0; i < 12; ++i) {
        corpus.page << dir.filePath(
            QString("%1-page-%2.jpg").arg(tag).arg(i + 1, 2, 10, QChar('0')));
    }
    corpus.large = dir.filePath(tag + "-large.jpg");
    corpus.bmp = dir.filePath(tag + "-page-size.bmp");
    corpus.many = dir.filePath(tag + "-many");
    corpus.manyCount = small ? 300 : 32767;
    for (int i = 0; i < 12; ++i) write(corpus.page[i], corpus.pageSize, i + 1, "jpeg");
    for (int i = 0; i < 12; ++i) {
        corpus.camera << dir.filePath(
            QString("%1-camera-%2.jpg").arg(tag).arg(i + 1, 2, 10, QChar('0')));
        writeCameraLike(corpus.camera[i], corpus.page[i]);
    }
    write(corpus.large, corpus.largeSize, 100, "jpeg");
    write(corpus.bmp, corpus.pageSize, 1, "bmp");
    writeMany(corpus.many, corpus.manyCount);
    return corpus;
}
