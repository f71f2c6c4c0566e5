#include "platform/timer.h"

#include "platform/held.h"

namespace platform {

Timer::Timer() {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { fireTick(); });
}

Timer::~Timer() = default;

void Timer::setInterval(int milliseconds) {
    m_interval = milliseconds;
    schedule();
}

void Timer::setRunning(bool running) {
    if (running == m_running) return;
    m_running = running;
    m_tickHeld = false;
    schedule();
}

void Timer::schedule() {
    if (m_running && m_interval > 0) {
        m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}

void Timer::fireTick() {
    if (!m_running || m_interval <= 0) return;
    if (HeldMoment::now()) {
        if (!m_tickHeld) HeldMoment::whenOver(this, [this] { deliverHeldTick(); });
        m_tickHeld = true;
        return;
    }
    if (onTick) onTick();
}

void Timer::deliverHeldTick() {
    if (!m_tickHeld) return;
    if (HeldMoment::now()) {  // another moment began before the delivery
        HeldMoment::whenOver(this, [this] { deliverHeldTick(); });
        return;
    }
    m_tickHeld = false;
    fireTick();
}

}  // namespace platform
