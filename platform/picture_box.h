#pragma once
#include <QFrame>
#include <QImage>
#include <functional>

#include "platform/picture.h"
#include "platform/twips.h"
#include "platform/window.h"
#include "platform/work_ahead.h"

namespace platform {

// A picture box: it holds a loaded picture and a persistent image that everything drawn on it
// goes to, and repaints from that image. Its inner size is in pixels. With auto-size it takes
// the natural size of a picture loaded into it; emptying the picture keeps its size.
//
// Pixels here are logical pixels, as every layout and fit in the program counts them. On a
// high-density screen (two device pixels to the logical pixel) the persistent image holds device
// pixels, and a stretch is decoded at device resolution: a fitted picture, a preview or a
// thumbnail shows the picture's own detail, not a logical-size image magnified.
//
// For screen readers the box is a graphic named by the file it shows (empty when it shows
// nothing); a box with a click handler offers the press action.
class PictureBox : private QFrame {
public:
    // The Qt widget is private, as a control's is; widget() serves the platform layer and tests.
    QFrame* widget() { return this; }
    const QFrame* widget() const { return this; }
    using QWidget::setAccessibleDescription;
    using QWidget::setVisible;
    // A display box decodes what it is given at once and shows it; a scratch box, never shown,
    // only holds a picture as the source of a stretch, decoded at the size it is drawn at.
    enum class Role { Display, Scratch };

    PictureBox(Window* window, const TwipsRect& rect, Role role);

    void setAutoSize(bool on) { m_autoSize = on; }
    // Pictures loaded into the box, and stretched from it, come from this work ahead where it
    // holds them (the window that owns both keeps it alive as long as the box).
    void takeAheadFrom(WorkAhead& ahead) { m_ahead = &ahead; }
    void setBorder(int pixels);

    // Throws Failure when the file cannot be opened or decoded; the box then holds nothing.
    void loadPicture(const QString& path);
    // Empties the picture: the persistent image becomes plain background.
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }

    int scaleWidth() const { return contentsRect().width(); }
    int scaleHeight() const { return contentsRect().height(); }

    // Draws the source box's picture region (the whole picture) stretched into a rectangle of
    // this box's persistent image, always in halftone: the source's pixels are averaged.
    // Throws Failure when the picture cannot be decoded.
    void stretchFrom(const PictureBox& source, QRect sourceRect, QRect destination);
    // Draws an image into a rectangle of the persistent image as stretchFrom draws a picture
    // there: a picture's embedded thumbnail, standing in until the picture itself replaces it.
    void drawStandIn(const QImage& image, QRect destination);

    // Device pixels to the logical pixel on the box's screen: 1, or 2 on a high-density one.
    qreal pixelRatio() const { return devicePixelRatioF(); }
    // The size in device pixels that a stretch to a rectangle of this size is decoded at.
    QSize deviceSize(QSize logical) const { return deviceSize(logical, pixelRatio()); }
    static QSize deviceSize(QSize logical, qreal ratio);

    // Repaints the box now, without running other events.
    void refresh() { repaint(); }

    void setLeft(int x) { move(x, y()); }
    void setTop(int y) { move(x(), y); }
    void setWidth(int w) { resize(w, height()); }
    void setHeight(int h) { resize(width(), h); }

    // What the box shows and where, to put back after a failed load.
    struct Snapshot {
        QRect geometry;
        bool visible;
        Picture picture;
        QImage image;
        QString name;
    };
    Snapshot snapshot() const {
        return {geometry(), !isHidden(), m_picture, m_image, accessibleName()};
    }
    void restore(const Snapshot& shown);

    // The persistent image, as the box shows it inside its border; on a high-density screen in
    // device pixels, with its device pixel ratio set.
    QImage image() const;

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage blank() const;
    // The persistent image at the box's inner size and the screen's pixel ratio.
    QImage composed() const;
    // Draws an image at its device size into the persistent image.
    void draw(QImage image, QPoint at);

    Role m_role;
    WorkAhead* m_ahead = nullptr;
    bool m_autoSize = false;
    bool m_pressed = false;
    Picture m_picture;
    QImage m_image;  // persistent image, the box's inner size when last drawn on
};

}  // namespace platform
