// A thumbnail from the desktop's cache, whatever its bytes, read as the grid reads it: the input
// changes the one a file manager writes for a file (its first two bytes cut it short or lengthen
// it, the others flip its bytes), so that fuzzing starts from a sound one. Reading gives nothing,
// or an image of the size expected, one pixel either way.
#include <cstdlib>

#include "platform/thumbnail_cache.h"
#include "tests/support/desktop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray uri = "file:///home/user/IMG_0001.jpg", sound = [&] {
        QImage image(128, 85, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.setText("Thumb::URI", uri);
        image.setText("Thumb::MTime", "1700000000");  // and the file's size the same number
        image.setText("Thumb::Size", "1700000000");
        return encoded(image, "png");
    }();
    QByteArray png = sound;
    if (size >= 2) png.resize(((data[0] << 8) | data[1]) % (2 * sound.size()), '\0');
    for (size_t i = 2; i < size && !png.isEmpty(); ++i) png[(i - 2) % png.size()] ^= char(data[i]);
    QBuffer device(&png);
    device.open(QIODevice::ReadOnly);
    const platform::FileStamp stamp{1700000000, QDateTime::fromSecsSinceEpoch(1700000000), {}};
    const QImage read = platform::thumbnails::read(device, uri, stamp, QSize(128, 85));
    if (!read.isNull() && (std::abs(read.width() - 128) > 1 || std::abs(read.height() - 85) > 1))
        std::abort();
    return 0;
}
