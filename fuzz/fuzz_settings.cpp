// Tessary.ini, whatever its bytes ("$ROOT" stands for the desktop's folder), read at start-up:
// the program starts in a state its rules could have made, without a message, and what it then
// saves reads back the same.
#include "app/settings.h"
#include "fuzz/fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TestDesktop& d = fuzzDesktop();
    d.folder("home/pics", 3), d.folder("home/empty"), d.folder("home/写真 2024");
    d.addDrive("drive2"), d.folder("drive2/sub", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TestDesktop& d = fuzzDesktop();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    writeFile(d.iniPath(), bytes.replace("$ROOT", d.root().toUtf8()));
    d.restart();
    if (const QString fault = inconsistency(); !fault.isEmpty()) fail("a start with " + fault);
    const QByteArray saved = SettingsBytes();
    WriteSettings();
    d.restart();
    if (SettingsBytes() != saved)
        fail("saved otherwise: " + saved.toPercentEncoding() + " -> " +
             SettingsBytes().toPercentEncoding());
    if (!d.messages.isEmpty()) fail("a message: " + d.messages.join('\n'));
    return 0;
}
