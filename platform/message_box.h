#pragma once
#include <QString>
#include <functional>

namespace platform {

// A modal message box with a text, a title and one OK button. While one is open no handler
// starts: it is a HeldMoment.
class MessageBox {
public:
    static void show(const QString& text, const QString& title);

    // Tests record messages instead of blocking: the recorder runs where the box would open,
    // with the box counted as open, and show() returns when it returns.
    using Recorder = std::function<void(const QString& text, const QString& title)>;
    static void setRecorder(Recorder recorder);
};

}  // namespace platform
