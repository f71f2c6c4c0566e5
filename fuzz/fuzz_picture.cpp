// A picture file, whatever its bytes, in a thumbnail cell and in the viewer, fitted and at
// natural size: each gives one "Load Error" at most and nothing else; none may crash or hang.
// Its embedded EXIF thumbnail, which a cell shows first, is read from the same bytes.
#include <QImageReader>

#include "fuzz/fuzz.h"
#include "platform/embedded_thumbnail.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzDesktop().start();
    // Fewer pixels than the program allows, so that each input takes milliseconds: the limit
    // is the same code path whatever its value. A small work area keeps the fitted view cheap.
    QImageReader::setAllocationLimit(32);
    Module1.WorkRight = 240, Module1.WorkBottom = 180;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A new name each time (a file of the same name, size and time is taken for the last one
    // opened), its suffix from the last byte: the choosers list every suffix on every content.
    static int inputs = 0;
    const char* suffixes[] = {"bmp", "gif", "jpg", "ico"};
    const QString name =
        QString("%1.%2").arg(++inputs).arg(suffixes[size ? data[size - 1] % 4 : 0]);
    const QString path = fuzzDesktop().home() + "/pics/" + name;
    writeFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (loadErrors(fuzzDesktop(), path) < 0) fail("a box other than one Load Error");
    platform::embeddedThumbnail(path, [](QSize) { return QSize(24, 16); });
    QFile::remove(path);
    return 0;
}
