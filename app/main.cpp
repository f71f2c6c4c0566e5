#include <QApplication>
#include <QTimer>

#include "app/control_window.h"
#include "app/messages.h"
#include "app/starting_path.h"
#include "app/windows.h"
#include "platform/one_program.h"
#include "platform/program.h"
#include "platform/window_system.h"

int main(int argc, char** argv) {
    platform::preferX11();
    QApplication app(argc, argv);
    platform::initialise();
    const QString path = platform::startingPath(QApplication::arguments());
    if (platform::handOverToRunningProgram(path, ShowStartingPath)) return 0;
    platform::setProgramEnd([] { QCoreApplication::exit(0); });
    // On the event loop, so that closing the control window while a message box of the start-up
    // is open (a drive that is not ready, a path that cannot be opened) ends the run.
    QTimer::singleShot(0, [path] {
        Form1->Form_Load();
        if (!platform::windowsCanStayAbove()) ShowCannotStayAbove();
        ShowStartingPath(path);
    });
    const int status = QApplication::exec();
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
