// A picture file, whatever its bytes, through the program's own load-measure-fit-draw paths:
// a thumbnail cell of the grid, and the viewer fitted to the work area and at natural size.
// Each may show one "Load Error" and nothing else; none may crash or hang.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "fuzz/desktop.h"
#include "grid/thumbnail_grid.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

namespace {
QString g_folder;

// The suffix follows the file's last byte, so that the fuzzer tries every name the choosers
// list on every content; the decoders go by content first and by the suffix after.
QString suffixFor(const uint8_t* data, size_t size) {
    static const char* const kSuffixes[] = {"bmp", "gif", "jpg", "ico"};
    return kSuffixes[size == 0 ? 0 : data[size - 1] % 4];
}

void showInGridCell(const QString& name) {
    Module1.DirPath12 = g_folder + "/";
    Module1.FileList12 = {name, QString()};
    Module1.FileCount12 = 1;
    Module1.CurIndex12 = 0;
    FrmShow12->LoopControl();
}

// A load shows one "Load Error" at most, and no other message.
void checkMessages(const char* where) {
    const QStringList messages = fuzzing::takeMessages();
    if (messages.size() > 1) fuzzing::fail(where, "gave more than one message:\n" + messages.join('\n'));
    if (!messages.isEmpty() && !messages[0].startsWith(QStringLiteral("Load Error: "))) {
        fuzzing::fail(where, "gave a message that is not a Load Error: " + messages[0]);
    }
}

void showInViewer(const QString& path, const QString& name, int fitted) {
    FrmSelectSld->Check3.setValue(fitted);
    FrmShow1->LoadControl1(path, name, 1);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::startDesktop(QDir::tempPath() + QStringLiteral("/tessary-fuzz-picture-%1")
                                                 .arg(QCoreApplication::applicationPid()),
                          true);
    // Fewer pixels than the program allows, so that each input takes milliseconds: the limit
    // is the same code path whatever its value.
    QImageReader::setAllocationLimit(32);
    g_folder = fuzzing::homeFolder();
    fuzzing::restartProgram();
    // A small work area keeps the fitted drawing cheap.
    Module1.WorkLeft = 0;
    Module1.WorkRight = 240;
    Module1.WorkTop = 0;
    Module1.WorkBottom = 180;
    FrmShow12->showWindow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A new name for every input: the program rightly takes a file of the same name, size and
    // time for the one it opened last.
    static int inputs = 0;
    const QString name = QStringLiteral("picture%1.%2").arg(++inputs).arg(suffixFor(data, size));
    const QString path = g_folder + "/" + name;
    fuzzing::writeFile(path, data, size);
    showInGridCell(name);
    checkMessages("the grid cell");
    showInViewer(path, name, 1);
    checkMessages("the fitted viewer");
    showInViewer(path, name, 0);
    checkMessages("the viewer at natural size");
    QFile::remove(path);
    return 0;
}
