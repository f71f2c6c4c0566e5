#include "platform/window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

#include "platform/frame_caption.h"
#include "platform/held.h"
#include "platform/twips.h"
#include "platform/window_system.h"

namespace platform {

namespace {
const char kWindowProperty[] = "tessaryWindow";

// Screen readers and UI automation see each window of the program as a window, named by its
// caption (or its accessible name where it has no caption).
QAccessibleInterface* accessibleWindow(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || !widget->property(kWindowProperty).toBool()) return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
}  // namespace

Window::Window(CloseByFrame policy) : QWidget(nullptr), m_policy(policy) {
    static const bool accessibleInstalled = (QAccessible::installFactory(accessibleWindow), true);
    Q_UNUSED(accessibleInstalled);
    setProperty(kWindowProperty, true);
    static int windowsMade = 0;
    m_creationNumber = ++windowsMade;
}

void Window::setKeyPreview(bool on) {
    // Only a window that previews keys looks at the program's events.
    if (on && !m_keyPreview) qApp->installEventFilter(this);
    if (!on && m_keyPreview) qApp->removeEventFilter(this);
    m_keyPreview = on;
}

void Window::setCaption(const QString& caption) { setWindowTitle(caption); }

// Brings a shown window to the front, where the platform can.
static void bringForward(QWidget& window) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    window.raise();
    window.activateWindow();
}

void Window::showWindow() {
    show();
    bringForward(*this);
}

void setTabOrderOf(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        // A control in the order takes the focus by Tab, a picture box too.
        if (control->focusPolicy() == Qt::NoFocus) control->setFocusPolicy(Qt::TabFocus);
        if (previous != nullptr) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void Window::setClientSizeTwips(int width, int height) {
    setFixedSize(pixels(width), pixels(height));
}

void Window::setClientPositionTwips(int left, int top) { move(pixels(left), pixels(top)); }

void Window::setClientRectTwips(const TwipsRect& rect) { setGeometry(rect.toPixels()); }

void Window::keepAbove() { setWindowFlag(Qt::WindowStaysOnTopHint); }

void Window::showMaximizedOver(int left, int top, int width, int height) {
    // A window that is already shown keeps the place the window manager gave it.
    if (!isVisible()) setGeometry(left, top, width, height);
    showMaximized();
    bringForward(*this);
}

void Window::drawNow() {
    if (m_waitForExposure) waitUntilExposed();
    repaint();
    sendDrawing();  // each step where the user sees it
}

void Window::waitUntilExposed() {
    m_waitForExposure = false;
    QWindow* handle = windowHandle();
    if (!isVisible() || handle == nullptr || handle->isExposed()) return;
    // What is drawn before the window system exposes a window just shown is lost: it is let
    // through first, while no input, tick or closing runs, for half a second at most (a window
    // manager may never show it).
    const HeldMoment held;
    const QDeadlineTimer deadline(500);
    QTimer wake;  // the wait ends at the deadline even when no event comes
    wake.start(10);
    while (!handle->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
}

void Window::unload() {
    m_destroyed = true;
    qApp->removeEventFilter(this);
    hide();
    deleteLater();
}

// Only the plain Enter and Backspace keys give 13 and 8: with a modifier held they give
// nothing, and neither do Ctrl+M and Ctrl+H, which type the same control characters.
static int keyAsciiOf(const QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == 0;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return plain ? kEnterKey : 0;
        case Qt::Key_Backspace:
            return plain ? kBackspaceKey : 0;
        default: {
            const int code = event->text().isEmpty() ? 0 : event->text().at(0).unicode();
            return code == kEnterKey || code == kBackspaceKey ? 0 : code;
        }
    }
}

bool Window::deliverKey(QKeyEvent* event) {
    const int keyAscii = keyAsciiOf(event);
    if (keyAscii != 0) Form_KeyPress(keyAscii);
    return keyAscii != 0;
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
    if (m_keyPreview && event->type() == QEvent::KeyPress && watched != this) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && isAncestorOf(widget)) {
            deliverKey(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return false;
}

void Window::keyPressEvent(QKeyEvent* event) {
    if (!deliverKey(event)) QWidget::keyPressEvent(event);
}

void Window::mousePressEvent(QMouseEvent* /*event*/) { Form_MouseDown(); }

void Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_waitForExposure = true;
    if (caption().isEmpty()) clearFrameCaption(*this);
    Form_Show();
}

void Window::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Form_Hide();
}

void Window::closeEvent(QCloseEvent* event) {
    if (m_destroyed) return;
    if (HeldMoment::now()) {  // closed once the moment is over, like a click
        event->ignore();
        HeldMoment::whenOver(this, [this] { close(); });
        return;
    }
    if (m_policy == CloseByFrame::Hide) {
        event->ignore();
        hide();
        return;
    }
    // Gone at once: the unload handler's own calls make a fresh window where they use this one.
    m_destroyed = true;
    Form_Unload();
    unload();
}

}  // namespace platform
