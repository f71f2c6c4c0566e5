#pragma once
#include <QObject>
#include <QString>
#include <functional>

namespace platform {

// A modal message box with a text, a title and one OK button. While one is open the program's
// timers hold their ticks (see Timer).
class MessageBox {
public:
    static void show(const QString& text, const QString& title);

    // True while a box is open.
    static bool isOpen();

    // Tests record messages instead of blocking: the recorder runs where the box would open,
    // with the box counted as open, and show() returns when it returns.
    using Recorder = std::function<void(const QString& text, const QString& title)>;
    static void setRecorder(Recorder recorder);

    // Runs when the last open box closes (timers deliver a held tick), for as long as its owner
    // lives.
    static void whenClosed(QObject* owner, std::function<void()> callback);
};

}  // namespace platform
