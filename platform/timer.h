#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

// A window timer: an interval in milliseconds and a running flag. Interval 0 never ticks.
// Stopping and running again starts a fresh full interval; running a running timer changes
// nothing. A tick that falls in a HeldMoment (a message box open, a window waiting to be shown)
// is held and delivered once the moment is over, after the handler that began it has returned.
class Timer : private QObject {
public:
    Timer();
    ~Timer() override;

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool running() const { return m_running; }
    void setRunning(bool running);

    // Time left until the next tick, or -1 when none is due.
    int remainingMilliseconds() const { return m_timer.isActive() ? m_timer.remainingTime() : -1; }

    std::function<void()> onTick;

    // The tick as the timer delivers it; tests fire it directly instead of waiting.
    void fireTick();

private:
    void schedule();
    void deliverHeldTick();

    QTimer m_timer;
    int m_interval = 0;
    bool m_running = false;
    bool m_tickHeld = false;
};

}  // namespace platform
