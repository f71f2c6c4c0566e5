#include "platform/picture_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include "platform/failure.h"

namespace platform {

namespace {
// A picture box as screen readers and UI automation see it: a graphic, pressed like a button
// where a click does something.
class PictureBoxAccessible : public QAccessibleWidget {
public:
    explicit PictureBoxAccessible(PictureBox* box)
        : QAccessibleWidget(box->widget(), QAccessible::Graphic), m_box(box) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (box()->onClick) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && box()->onClick) {
            box()->onClick();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    PictureBox* box() const { return m_box; }
    PictureBox* m_box;
};

// The box a widget is, if it is one: its Qt widget is a private base, so it says so itself.
const char kBoxProperty[] = "tessaryPictureBox";

QAccessibleInterface* accessiblePictureBox(const QString& /*className*/, QObject* object) {
    auto* box = static_cast<PictureBox*>(object->property(kBoxProperty).value<void*>());
    return box != nullptr ? new PictureBoxAccessible(box) : nullptr;
}

QSize logicalSize(const QImage& image) { return image.deviceIndependentSize().toSize(); }
}  // namespace

PictureBox::PictureBox(Window* window, const TwipsRect& rect, Role role)
    : QFrame(window->widget()), m_role(role) {
    static const bool accessibleInstalled =
        (QAccessible::installFactory(accessiblePictureBox), true);
    Q_UNUSED(accessibleInstalled);
    setProperty(kBoxProperty, QVariant::fromValue<void*>(this));
    setGeometry(rect.toPixels());
    setFrameStyle(QFrame::NoFrame);
    if (role == Role::Scratch) hide();
}

void PictureBox::setBorder(int pixels) {
    setFrameStyle(pixels > 0 ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    setLineWidth(pixels);
}

QSize PictureBox::deviceSize(QSize logical, qreal ratio) {
    return {qRound(logical.width() * ratio), qRound(logical.height() * ratio)};
}

QImage PictureBox::blank() const {
    QImage image(deviceSize(contentsRect().size().expandedTo(QSize(1, 1))), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio());
    image.fill(palette().color(QPalette::Window));
    return image;
}

QImage PictureBox::composed() const {
    QImage sized = blank();
    if (!m_image.isNull()) QPainter(&sized).drawImage(0, 0, m_image);
    return sized;
}

void PictureBox::loadPicture(const QString& path) {
    m_picture = Picture();
    Picture picture = m_ahead != nullptr ? m_ahead->open(path) : Picture::open(path);
    QImage image;
    // At natural size one picture pixel covers one logical pixel, on any screen: the box takes
    // the natural size and the viewer centres and cuts it off by that size, so a high-density
    // screen shows the picture as large as a standard one does (each pixel on 2 × 2 device
    // pixels), never at half the size the window's arithmetic lays out.
    if (m_role == Role::Display) image = picture.natural();
    m_picture = picture;
    if (m_autoSize) {
        const int border = 2 * frameWidth();
        resize(picture.size().width() + border, picture.size().height() + border);
    }
    setAccessibleName(QFileInfo(path).fileName());
    if (m_role == Role::Display) {
        m_image = image;
        update();
    }
}

void PictureBox::clearPicture() {
    m_picture = Picture();
    // No image is plain background; a scratch box the size of a photograph keeps none.
    m_image = QImage();
    setAccessibleName(QString());
    update();
}

void PictureBox::stretchFrom(const PictureBox& source, QRect sourceRect, QRect destination) {
    // Only the whole picture is ever stretched; anything else is a caller's fault.
    Q_ASSERT(source.m_picture.isNull() ||
             sourceRect == QRect(QPoint(0, 0), source.m_picture.size()));
    Q_UNUSED(sourceRect);
    if (source.m_picture.isNull() || destination.isEmpty()) return;
    const QSize size = deviceSize(destination.size());
    QImage stretched;
    if (source.m_ahead != nullptr) stretched = source.m_ahead->take(source.m_picture, size);
    if (stretched.isNull()) stretched = source.m_picture.stretchedTo(size);
    draw(stretched, destination.topLeft());
    setAccessibleName(QFileInfo(source.m_picture.path()).fileName());
}

void PictureBox::drawStandIn(const QImage& image, QRect destination) {
    if (image.isNull() || destination.isEmpty()) return;
    draw(halftoneStretch(image, deviceSize(destination.size())), destination.topLeft());
}

void PictureBox::draw(QImage image, QPoint at) {
    image.setDevicePixelRatio(pixelRatio());  // drawn at its size in logical pixels
    if (m_image.isNull() || logicalSize(m_image) != contentsRect().size() ||
        m_image.devicePixelRatio() != pixelRatio()) {
        m_image = composed();
    }
    QPainter(&m_image).drawImage(at, image);
    update();
}

void PictureBox::restore(const Snapshot& shown) {
    setGeometry(shown.geometry);
    m_picture = shown.picture;
    m_image = shown.image;
    setAccessibleName(shown.name);
    setVisible(shown.visible);
    update();
}

QImage PictureBox::image() const {
    if (m_image.isNull()) return blank();
    if (logicalSize(m_image) == contentsRect().size()) return m_image;
    return composed();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.fillRect(inner, palette().color(QPalette::Window));
    // A device-resolution image lands pixel for pixel on the screen's device pixels.
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
