#include <QApplication>

#include "app/control_window.h"
#include "app/windows.h"
#include "platform/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::initialise();
    platform::setProgramEnd([] { QCoreApplication::exit(0); });
    Form1->Form_Load();
    const int status = QApplication::exec();
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
