#include "platform/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/failure.h"

namespace platform {

PictureBox::PictureBox(QWidget* window, const TwipsRect& rect, Role role)
    : QFrame(window), m_role(role) {
    setGeometry(rect.toPixels());
    setFrameStyle(QFrame::NoFrame);
    if (role == Role::Scratch) hide();
}

void PictureBox::setBorder(int pixels) {
    setFrameStyle(pixels > 0 ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    setLineWidth(pixels);
}

QImage PictureBox::blank() const {
    QImage image(contentsRect().size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    return image;
}

void PictureBox::loadPicture(const QString& path) {
    m_picture = Picture();
    Picture picture = Picture::open(path);
    QImage image;
    if (m_role == Role::Display) image = picture.natural();
    m_picture = picture;
    if (m_autoSize) {
        const int border = 2 * frameWidth();
        resize(picture.size().width() + border, picture.size().height() + border);
    }
    if (m_role == Role::Display) {
        m_image = image;
        update();
    }
}

void PictureBox::clearPicture() {
    m_picture = Picture();
    // No image is plain background; a scratch box the size of a photograph keeps none.
    m_image = QImage();
    update();
}

void PictureBox::stretchFrom(const PictureBox& source, QRect sourceRect, QRect destination) {
    // Only the whole picture is ever stretched; anything else is a caller's fault.
    Q_ASSERT(source.m_picture.isNull() ||
             sourceRect == QRect(QPoint(0, 0), source.m_picture.size()));
    Q_UNUSED(sourceRect);
    if (source.m_picture.isNull() || destination.isEmpty()) return;
    const QImage stretched = source.m_picture.stretchedTo(destination.size());
    if (m_image.isNull() || m_image.size() != contentsRect().size()) m_image = image();
    QPainter painter(&m_image);
    painter.drawImage(destination.topLeft(), stretched);
    update();
}

void PictureBox::restore(const Snapshot& shown) {
    setGeometry(shown.geometry);
    m_picture = shown.picture;
    m_image = shown.image;
    setVisible(shown.visible);
    update();
}

QImage PictureBox::image() const {
    if (m_image.isNull()) return blank();
    if (m_image.size() == contentsRect().size()) return m_image;
    QImage sized = blank();
    QPainter(&sized).drawImage(0, 0, m_image);
    return sized;
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // The persistent image keeps what was drawn; new area is background.
    if (!m_image.isNull() && m_image.size() != contentsRect().size() &&
        (m_picture.isNull() || m_role == Role::Scratch)) {
        m_image = image();
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.fillRect(inner, palette().color(QPalette::Window));
    if (!m_image.isNull()) painter.drawImage(inner.topLeft(), m_image);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (clicked && onClick) onClick();
}

}  // namespace platform
