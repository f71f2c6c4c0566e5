#include "platform/message_box.h"

#include <QMessageBox>

#include "platform/held.h"

namespace platform {

namespace {
MessageBox::Recorder g_recorder;
}  // namespace

void MessageBox::show(const QString& text, const QString& title) {
    const HeldMoment held;
    if (g_recorder) {
        g_recorder(text, title);
    } else {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
        // Above the control window, which stays on top of everything else.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }
}

void MessageBox::setRecorder(Recorder recorder) { g_recorder = std::move(recorder); }

}  // namespace platform
