#include "platform/timer.h"

#include "platform/message_box.h"

namespace platform {

Timer::Timer() {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { fireTick(); });
    MessageBox::whenClosed(this, [this] {
        // Queued, so that the held tick never runs inside the handler that opened the box.
        QTimer::singleShot(0, this, [this] { deliverHeldTick(); });
    });
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
    if (MessageBox::isOpen()) {
        m_tickHeld = true;
        return;
    }
    if (onTick) onTick();
}

void Timer::deliverHeldTick() {
    if (!m_tickHeld || MessageBox::isOpen()) return;
    m_tickHeld = false;
    fireTick();
}

}  // namespace platform
