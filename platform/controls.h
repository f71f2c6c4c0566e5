#pragma once
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "platform/twips.h"
#include "platform/window.h"

namespace platform {

// Each control's Qt widget is private: the windows use the control's own verbs, and widget()
// serves the platform layer and tests (input and inspection from outside the program).

// Places a control on its window at a design rectangle in twips.
void placeTwips(QWidget& control, const TwipsRect& rect);

// A push button with a caption; onClick runs when the user presses it. Screen readers know it
// by its caption.
class CommandButton : private QPushButton {
public:
    QPushButton* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setAccessibleDescription;
    using QWidget::setEnabled;
    CommandButton(Window* window, const QString& caption, const TwipsRect& rect);
    QString caption() const { return m_caption; }
    // A caption wider than the button wraps onto a second line, as on the narrow control window.
    void setCaption(const QString& caption);
    std::function<void()> onClick;

protected:
    void changeEvent(QEvent* event) override;
    // Enter presses the focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_caption;
};

class Label : private QLabel {
public:
    QLabel* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    Label(Window* window, const QString& caption, const TwipsRect& rect);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // The caption wraps onto further lines, each centred, as under a thumbnail: as many whole
    // lines as the label holds, the last ending in "…" where the caption goes on.
    void wrapCentred();
    // The caption sits at the left, centred from top to bottom.
    void centreVertically();
    // The label goes behind the controls it overlaps.
    void sendBehind() { lower(); }
    // A control sits in the caption's run of spaces ("間隔　=       秒"): the text after the run
    // is drawn past the control's right edge, however narrow the font's spaces.
    template <class Control>
    void leaveGapFor(Control& control) {
        m_gapControl = control.widget();
        setCaption(m_caption);
    }
    // The label names a control beside it that has no caption of its own (a check box, a text
    // box), for screen readers and UI automation.
    template <class Control>
    void nameControl(Control& control) {
        nameWidget(*control.widget());
    }

private:
    void changeEvent(QEvent* event) override;
    void nameWidget(QWidget& control);
    QString withGap(const QString& caption) const;
    QString m_caption;
    QWidget* m_gapControl = nullptr;
};

// A check box valued 0 (unchecked), 1 (checked) or 2 (grey, which counts as not checked).
// A new value, by the user or by program, runs onClick; setting the value it already holds
// runs nothing. The user's click toggles between 0 and 1.
class CheckBox : private QCheckBox {
public:
    QCheckBox* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    using QWidget::setFont;
    CheckBox(Window* window, const TwipsRect& rect);
    int value() const;
    // Throws Failure for a value other than 0, 1 or 2.
    void setValue(int value);
    std::function<void()> onClick;

protected:
    void nextCheckState() override;
};

// A one-line text box; every change of its text, by the user or by program, runs onChange.
class TextBox : private QLineEdit {
public:
    QLineEdit* widget() { return this; }
    using QLineEdit::setText;
    using QLineEdit::text;
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    TextBox(Window* window, const TwipsRect& rect);
    std::function<void()> onChange;
};

}  // namespace platform
