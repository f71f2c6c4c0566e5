// Tessary.ini, whatever its bytes, read and applied at start-up: the program starts in a
// consistent state without a message, and what it then saves reads back the same.
#include <QDir>

#include "app/control_window.h"
#include "app/number_text.h"
#include "app/settings.h"
#include "app/windows.h"
#include "fuzz/desktop.h"
#include "grid/folder_chooser.h"
#include "single/file_chooser.h"
#include "slideshow/setup_window.h"

namespace {
bool validInterval(const QString& text) {
    const double seconds = NumberAtStart(text);
    return !text.isEmpty() && seconds >= 1 && seconds <= 60;
}

void checkConsistent() {
    SlideshowSetup& setup = *FrmSelectSld;
    for (const platform::CheckBox* box : {&setup.Check1, &setup.Check2, &setup.Check3}) {
        if (box->value() < 0 || box->value() > 2) fuzzing::fail("a check box out of range");
    }
    if (FrmSelect1->Check1.value() != setup.Check3.value() ||
        FrmSelect12->Check1.value() != setup.Check3.value()) {
        fuzzing::fail("the fit boxes disagree");
    }
    if (!setup.Text1.text().isEmpty() && !validInterval(setup.Text1.text())) {
        fuzzing::fail("an invalid interval kept:", setup.Text1.text());
    }
    if (setup.Command1.isEnabled() &&
        (setup.File1.entry(0).isEmpty() || !validInterval(setup.Text1.text()))) {
        fuzzing::fail("the start button enabled without pictures or interval");
    }
    for (const QString& folder :
         {FrmSelect1->Dir1.path(), FrmSelect12->Dir1.path(), setup.Dir1.path()}) {
        if (!QFileInfo(folder).isDir()) fuzzing::fail("a chooser on a folder that is none:", folder);
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::startDesktop(fuzzing::settingsRoot(), false);
    fuzzing::makeSettingsFolders();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::writeFile(SettingsPath(), data, size);
    fuzzing::restartProgram();
    checkConsistent();

    const QByteArray saved = SettingsBytes();
    WriteSettings();
    fuzzing::restartProgram();
    if (SettingsBytes() != saved) {
        fuzzing::fail("the saved settings read back otherwise:",
                      QString::fromUtf8(saved.toPercentEncoding()) + " -> " +
                          QString::fromUtf8(SettingsBytes().toPercentEncoding()));
    }
    const QStringList messages = fuzzing::takeMessages();
    if (!messages.isEmpty()) fuzzing::fail("a message at start-up:", messages.join('\n'));
    return 0;
}
