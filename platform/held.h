#pragma once
#include <QObject>
#include <functional>

namespace platform {

// A moment in which no handler of the program may start: a modal message box is open, or a
// window waits for the window system to show it before it is drawn. Timers hold their ticks
// and windows their closing by the frame until the last such moment is over.
class HeldMoment {
public:
    HeldMoment();
    ~HeldMoment();
    HeldMoment(const HeldMoment&) = delete;
    HeldMoment& operator=(const HeldMoment&) = delete;

    // True while a moment lasts.
    static bool now();
    // Runs once when the last moment is over, queued so that it never runs inside the handler
    // that began the moment; forgotten if its owner is gone by then.
    static void whenOver(QObject* owner, std::function<void()> callback);
};

}  // namespace platform
