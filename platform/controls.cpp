#include "platform/controls.h"

#include <QEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTextLayout>

#include "platform/failure.h"

namespace platform {

void placeTwips(QWidget& control, const TwipsRect& rect) { control.setGeometry(rect.toPixels()); }

CommandButton::CommandButton(Window* window, const QString& caption, const TwipsRect& rect)
    : QPushButton(window->widget()) {
    placeTwips(*this, rect);
    setAutoDefault(false);
    setCaption(caption);
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick) onClick();
    });
}

void CommandButton::setCaption(const QString& caption) {
    m_caption = caption;
    setAccessibleName(caption);  // the caption as written, not as wrapped
    constexpr int kMarginPixels = 4;
    const QFontMetrics metrics(font());
    const int room = width() - kMarginPixels;
    if (metrics.horizontalAdvance(caption) <= room) {
        setText(caption);
        return;
    }
    QString wrapped;
    QString line;
    for (const QChar c : caption) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > room) {
            wrapped += line + QLatin1Char('\n');
            line.clear();
        }
        line += c;
    }
    setText(wrapped + line);
}

void CommandButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange) setCaption(m_caption);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0) return click();
    QPushButton::keyPressEvent(event);
}

namespace {
// The lines a wrapped caption is drawn in: a name without spaces (IMG_20240801_123456.jpg) breaks
// where it must, and where the lines are more than the box holds, the ones that fit whole show,
// the last of them cut short with "…". A line half shown is no part of a name.
QString wrappedLines(const QString& text, const QFont& font, QSize box) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    qreal bottom = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        bottom += line.height();
        if (bottom > box.height() && !lines.isEmpty()) {
            lines.last() = QFontMetrics(font).elidedText(lines.last() + text.mid(line.textStart()),
                                                         Qt::ElideRight, box.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines.join('\n');
}
}  // namespace

Label::Label(Window* window, const QString& caption, const TwipsRect& rect)
    : QLabel(caption, window->widget()), m_caption(caption) {
    placeTwips(*this, rect);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Where the Windows fonts are missing the fallback runs wider; a caption is never cut off.
    const int textWidth = fontMetrics().horizontalAdvance(caption);
    if (textWidth > width()) resize(textWidth, height());
}

void Label::setCaption(const QString& caption) {
    m_caption = caption;
    setText(wordWrap() && !caption.isEmpty() ? wrappedLines(caption, font(), size())
                                             : withGap(caption));
    setAccessibleName(caption);  // the whole caption, however it is drawn
}

QString Label::withGap(const QString& caption) const {
    static const QRegularExpression gap(QStringLiteral("  +"));
    const QRegularExpressionMatch run = gap.match(caption);
    if (m_gapControl == nullptr || !run.hasMatch()) return caption;
    // ＭＳ ゴシック's seven spaces end three pixels past the text box; a proportional font's
    // spaces are narrower, and as many more are put in the run as reach that far.
    constexpr int kClearancePixels = 3;
    const int after = m_gapControl->geometry().right() + 1 + kClearancePixels - x();
    const QFontMetrics metrics(font());
    QString text = caption.left(run.capturedEnd());
    for (int i = 0; i < width() && metrics.horizontalAdvance(text) < after; ++i) text += ' ';
    return text + caption.mid(run.capturedEnd());
}

void Label::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) setCaption(m_caption);
}

void Label::wrapCentred() {
    setWordWrap(true);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void Label::centreVertically() { setAlignment(Qt::AlignLeft | Qt::AlignVCenter); }

void Label::nameWidget(QWidget& control) {
    setBuddy(&control);
    control.setAccessibleName(caption().simplified());  // "間隔　=       秒" reads "間隔 = 秒"
}

CheckBox::CheckBox(Window* window, const TwipsRect& rect) : QCheckBox(window->widget()) {
    placeTwips(*this, rect);
    setTristate(true);
    // The box is 12 pixels high: the style's larger mark would lose its top and bottom edges.
    const int side = std::min(height(), width()) - 1;
    setStyleSheet(QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }").arg(side));
}

int CheckBox::value() const {
    switch (checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        default:
            return 2;
    }
}

void CheckBox::setValue(int value) {
    static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (value < 0 || value > 2) throw Failure(QStringLiteral("Invalid property value"));
    if (value == this->value()) return;
    setCheckState(states[value]);
    if (onClick) onClick();
}

void CheckBox::nextCheckState() { setValue(value() == 1 ? 0 : 1); }

TextBox::TextBox(Window* window, const TwipsRect& rect) : QLineEdit(window->widget()) {
    placeTwips(*this, rect);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (onChange) onChange();
    });
}

}  // namespace platform
