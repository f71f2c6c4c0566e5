#include "platform/message_box.h"

#include <QMessageBox>
#include <QPointer>
#include <vector>

namespace platform {

namespace {
int g_openBoxes = 0;
MessageBox::Recorder g_recorder;
struct ClosedCallback {
    QPointer<QObject> owner;
    std::function<void()> run;
};
std::vector<ClosedCallback> g_closedCallbacks;

void forgetCallbacksOfGoneOwners() {
    std::erase_if(g_closedCallbacks, [](const ClosedCallback& c) { return c.owner.isNull(); });
}
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
        forgetCallbacksOfGoneOwners();
        const std::vector<ClosedCallback> callbacks = g_closedCallbacks;
        for (const ClosedCallback& callback : callbacks) {
            if (callback.owner) callback.run();
        }
    }
}

bool MessageBox::isOpen() { return g_openBoxes > 0; }

void MessageBox::setRecorder(Recorder recorder) { g_recorder = std::move(recorder); }

void MessageBox::whenClosed(QObject* owner, std::function<void()> callback) {
    forgetCallbacksOfGoneOwners();
    g_closedCallbacks.push_back({owner, std::move(callback)});
}

}  // namespace platform
