// Writes the fuzz targets' seed inputs into a folder: picture/ holds small BMP, GIF, JPEG and
// ICO files in their common variants, settings/ settings files of each shape, number/ texts.
// Usage: make_seeds FOLDER
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include "fuzz/desktop.h"

namespace {
QString g_out;

void put(const QString& relative, const QByteArray& bytes) {
    fuzzing::writeFile(g_out + "/" + relative, bytes);
}

// A small picture with some colours in it, so that a stretch has something to average.
QImage sample(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, 128, x % 2 ? 255 : 90));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format,
                   const std::function<void(QImageWriter&)>& options = {}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (options) options(writer);
    if (!writer.write(image)) fuzzing::fail("cannot encode", writer.errorString());
    return buffer.data();
}

// Qt writes no GIF. This one's LZW codes stay three bits wide: a clear code before every
// two pixels keeps the code table from growing.
QByteArray gifFrame(int width, int height, bool interlaced) {
    QByteArray frame("\x2c", 1);
    auto le16 = [&frame](int v) { frame += char(v & 0xff), frame += char(v >> 8); };
    le16(0), le16(0), le16(width), le16(height);
    frame += char(interlaced ? 0x40 : 0x00);
    frame += char(2);  // minimum code size: four colours
    QByteArray codes;
    quint32 bits = 0;
    int used = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << used;
        used += 3;
        while (used >= 8) codes += char(bits & 0xff), bits >>= 8, used -= 8;
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0) code(4);
        code((i / width + i % width) % 4);
    }
    code(5);
    if (used > 0) codes += char(bits & 0xff);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        frame += char(block.size());
        frame += block;
    }
    frame += char(0);
    return frame;
}

QByteArray gif(int width, int height, int frames, bool interlaced) {
    QByteArray bytes("GIF89a");
    auto le16 = [&bytes](int v) { bytes += char(v & 0xff), bytes += char(v >> 8); };
    le16(width), le16(height);
    bytes += QByteArray("\xf1\x00\x00", 3);
    bytes += QByteArray("\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\xff", 12);
    if (frames > 1) bytes += QByteArray("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int i = 0; i < frames; ++i) {
        bytes += QByteArray("\x21\xf9\x04\x04\x0a\x00\x00\x00", 8);  // 0.1 s, keep the frame
        bytes += gifFrame(width, height, interlaced);
    }
    bytes += char(0x3b);
    return bytes;
}

// An icon of several images: the directories of single-image icons joined.
QByteArray icon(const QList<QByteArray>& singles) {
    QByteArray header("\x00\x00\x01\x00", 4);
    header += char(singles.size()), header += char(0);
    QByteArray entries, images;
    quint32 offset = 6 + 16 * singles.size();
    for (const QByteArray& single : singles) {
        QByteArray entry = single.mid(6, 16);
        const quint32 size = qFromLittleEndian<quint32>(entry.constData() + 8);
        const quint32 at = qFromLittleEndian<quint32>(entry.constData() + 12);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        entries += entry;
        images += single.mid(at, size);
        offset += size;
    }
    return header + entries + images;
}

void pictures() {
    QDir().mkpath(g_out + "/picture");
    put("picture/mono.bmp", encoded(sample(13, 7, QImage::Format_Mono), "bmp"));
    put("picture/palette.bmp", encoded(sample(9, 9, QImage::Format_Indexed8), "bmp"));
    put("picture/rgb.bmp", encoded(sample(12, 5, QImage::Format_RGB32), "bmp"));
    put("picture/alpha.bmp", encoded(sample(4, 6, QImage::Format_ARGB32), "bmp"));
    put("picture/one-pixel.bmp", encoded(sample(1, 1, QImage::Format_RGB32), "bmp"));
    put("picture/colour.jpg", encoded(sample(24, 16, QImage::Format_RGB32), "jpeg"));
    put("picture/grey.jpg", encoded(sample(16, 24, QImage::Format_Grayscale8), "jpeg"));
    put("picture/progressive.jpg",
        encoded(sample(33, 17, QImage::Format_RGB32), "jpeg",
                [](QImageWriter& w) { w.setProgressiveScanWrite(true); }));
    put("picture/optimised.jpg", encoded(sample(20, 20, QImage::Format_RGB32), "jpeg",
                                         [](QImageWriter& w) { w.setOptimizedWrite(true); }));
    put("picture/turned.jpg", encoded(sample(30, 10, QImage::Format_RGB32), "jpeg",
                                      [](QImageWriter& w) {
                                          w.setTransformation(QImageIOHandler::TransformationRotate90);
                                      }));
    put("picture/mirrored.jpg", encoded(sample(10, 14, QImage::Format_RGB32), "jpeg",
                                        [](QImageWriter& w) {
                                            w.setTransformation(QImageIOHandler::TransformationMirror);
                                        }));
    put("picture/one-pixel.gif", gif(1, 1, 1, false));
    put("picture/small.gif", gif(7, 5, 1, false));
    put("picture/interlaced.gif", gif(6, 11, 1, true));
    put("picture/animated.gif", gif(5, 4, 3, false));
    const QByteArray icon16 = encoded(sample(16, 16, QImage::Format_ARGB32), "ico");
    const QByteArray icon32 = encoded(sample(32, 32, QImage::Format_ARGB32), "ico");
    put("picture/one.ico", icon16);
    put("picture/two.ico", icon({icon16, icon32}));
    put("picture/empty.bmp", QByteArray());
}

void settings() {
    QDir().mkpath(g_out + "/settings");
    const QStringList folders = fuzzing::settingsFolders();
    auto folder = [](const QString& path) { return path.toUtf8() + "/\n\r\n"; };
    auto option = [](const char* value) { return QByteArray(value) + "\n\r\n"; };
    auto file = [&](const QString& a, const QString& b, const QString& c, const char* interval,
                    const char* repeat, const char* random, const char* fit) {
        return folder(a) + folder(b) + folder(c) + interval + "\r\n" + option(repeat) +
               option(random) + option(fit);
    };
    const QByteArray usual = file(folders[0], folders[1], folders[2], "5", "1", "0", "1");
    put("settings/usual.ini", usual);
    put("settings/other-drive.ini", file(folders[3], folders[0], folders[3], "2.5", "0", "1", "0"));
    put("settings/grey-boxes.ini", file(folders[0], folders[0], folders[0], "60", "2", "2", "2"));
    put("settings/bad-check.ini", file(folders[0], folders[1], folders[0], "7", "1", "3", "1"));
    put("settings/huge-check.ini", file(folders[0], folders[0], folders[0], "7", "1e300", "0", "0"));
    put("settings/negative-check.ini", file(folders[0], folders[0], folders[0], "7", "-0.5", "-1", "0"));
    put("settings/bad-interval.ini", file(folders[0], folders[0], folders[0], "61", "0", "0", "0"));
    put("settings/blank-interval.ini", file(folders[0], folders[0], folders[0], "   3", "0", "0", "0"));
    put("settings/exponent-interval.ini", file(folders[0], folders[0], folders[0], "1e1", "0", "0", "0"));
    put("settings/gone-folder.ini",
        file(folders[0], fuzzing::settingsRoot() + "/gone", folders[0], "7", "0", "0", "0"));
    put("settings/no-separator.ini",
        folders[0].toUtf8() + "\r\n" + folders[1].toUtf8() + "\r\n" + folders[2].toUtf8() +
            "\r\n5\r\n1\r\n0\r\n1\r\n");
    put("settings/lf-only.ini", QByteArray(usual).replace("\r\n", "\n"));
    put("settings/cr-only.ini", QByteArray(usual).replace("\n", ""));
    put("settings/three-lines.ini", usual.left(usual.indexOf("5\r\n")));
    put("settings/empty.ini", QByteArray());
    put("settings/extra-lines.ini", usual + usual);
    put("settings/bom.ini", "\xef\xbb\xbf" + usual);
    put("settings/not-utf8.ini", QByteArray(usual).replace("pics", "p\xff\xfe\x00s"));
}

void numbers() {
    QDir().mkpath(g_out + "/number");
    const char* const texts[] = {"7",   "  3",  "\t2.5", "-1",     "+1",   "1e3",    "1e",
                                 "1e+", ".5",   "5.",    "-.5",    "60.0000001", "1e309",
                                 "1e-400", "4x", "0x10", "1,5", "",  "abc",  "٣",      "1\n",
                                 "00000000000000000000000000000000000001.5e-2"};
    int i = 0;
    for (const char* text : texts) put(QStringLiteral("number/%1.txt").arg(++i), text);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    pictures();
    settings();
    numbers();
    return 0;
}
