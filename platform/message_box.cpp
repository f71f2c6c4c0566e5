#include "platform/message_box.h"

#include <QMessageBox>
#include <vector>

namespace platform {

namespace {
int g_openBoxes = 0;
MessageBox::Recorder g_recorder;
std::vector<std::function<void()>> g_closedCallbacks;
}  // namespace

void MessageBox::show(const QString& text, const QString& title) {
    ++g_openBoxes;
    if (g_recorder) {
        g_recorder(text, title);
    } else {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
        // Above the control window, which stays on top of everything else.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }
    if (--g_openBoxes == 0) {
        for (const auto& callback : g_closedCallbacks) callback();
    }
}

bool MessageBox::isOpen() { return g_openBoxes > 0; }

void MessageBox::setRecorder(Recorder recorder) { g_recorder = std::move(recorder); }

void MessageBox::whenClosed(std::function<void()> callback) {
    g_closedCallbacks.push_back(std::move(callback));
}

}  // namespace platform
