#pragma once
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include "platform/twips.h"

namespace platform {

// Character codes of the keys that step pictures and pages.
constexpr int kEnterKey = 13;
constexpr int kBackspaceKey = 8;

// A top-level window of the program. It starts hidden; the program shows and hides it. The
// windows of the program reach Qt only through the verbs here: the widget underneath is private.
class Window : private QWidget {
public:
    // The Qt widget itself: for the platform layer, and input and inspection from outside the
    // program (tests).
    QWidget* widget() { return this; }
    const QWidget* widget() const { return this; }
    // What closing through the frame (title-bar button, system menu) does.
    enum class CloseByFrame { Destroy, Hide };

    explicit Window(CloseByFrame policy);

    QString caption() const { return windowTitle(); }
    void setCaption(const QString& caption);

    // Shows the window modeless; a visible window keeps its place and comes forward.
    void showWindow();
    void hideWindow() { hide(); }
    bool isShown() const { return isVisible(); }

    // Sets the client area from a design size in twips; the window cannot be resized.
    void setClientSizeTwips(int width, int height);
    void setClientPositionTwips(int left, int top);
    // The client area's design rectangle in twips: where the window is, restored.
    void setClientRectTwips(const TwipsRect& rect);

    // The window stays above every other window of the desktop.
    void keepAbove();
    // Shows the window maximized, over this rectangle of pixels where the platform does not
    // maximize it itself, and brings it forward.
    void showMaximizedOver(int left, int top, int width, int height);
    // Repaints the whole window now, where the user sees it, without running other handlers.
    // Just after the window is shown, the window system is first let through to show it.
    void drawNow();

    using QWidget::setAccessibleName;
    using QWidget::setFont;

    // Key presses of the window's controls reach Form_KeyPress first.
    void setKeyPreview(bool on);

    // Closed through its frame with the Destroy policy: the window is gone for the program,
    // and its next use makes a fresh one.
    bool isDestroyed() const { return m_destroyed; }
    // Destroys the window now, without its unload handler (the end of the program).
    void unload();

    // Windows are numbered in the order they were made.
    int creationNumber() const { return m_creationNumber; }

    // Closes the window as the user does through its frame.
    void closeByFrame() { close(); }

protected:
    // The character code of a key: 13 Enter, 8 Backspace, otherwise the character.
    virtual void Form_KeyPress(int /*keyAscii*/) {}
    // The window has just been shown, or hidden (by the program, through its frame, minimized or
    // as it is unloaded).
    virtual void Form_Show() {}
    virtual void Form_Hide() {}
    // Any mouse button pressed on the window itself, outside its controls.
    virtual void Form_MouseDown() {}
    // The window is being closed through its frame.
    virtual void Form_Unload() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool deliverKey(QKeyEvent* event);
    void waitUntilExposed();

    CloseByFrame m_policy;
    bool m_keyPreview = false;
    bool m_destroyed = false;
    bool m_waitForExposure = false;  // shown, not yet drawn
    int m_creationNumber;
};

// Sets the order in which Tab moves through a window's controls.
void setTabOrderOf(std::initializer_list<QWidget*> controls);
template <class... Controls>
void setTabOrder(Controls&... controls) {
    setTabOrderOf({controls.widget()...});
}

// The program-wide reference to a window: any use creates the window, hidden, when it does
// not exist, and a destroyed window is replaced by a fresh one on its next use.
template <class T>
class WindowRef {
public:
    T* get() {
        if (!exists()) {
            m_window = new T();
            m_widget = m_window->widget();
        }
        return m_window;
    }
    T* operator->() { return get(); }
    T& operator*() { return *get(); }
    bool exists() const { return !m_widget.isNull() && !m_window->isDestroyed(); }
    // Destroys the window without its unload handler.
    void unload() {
        if (exists()) m_window->unload();
        m_window = nullptr;
        m_widget = nullptr;
    }

private:
    T* m_window = nullptr;
    QPointer<QWidget> m_widget;  // null once Qt has deleted the window
};

}  // namespace platform
