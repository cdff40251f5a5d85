#include "mapview/picturebox.h"

#include <QPaintEvent>
#include <QPainter>

#include "mapview/zoomgeom.h"

namespace varno {

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::setPicture(std::shared_ptr<const MapPicture> picture) {
    picture_ = std::move(picture);
    takeSize();
    update();
}

const MapPicture& TPictureBox::picture() const {
    static const MapPicture none;
    return picture_ ? *picture_ : none;
}

void TPictureBox::setZoom(int percent) {
    if (percent == zoom_) return;
    zoom_ = percent;
    takeSize();
    update();
}

void TPictureBox::takeSize() {
    const MapPicture& p = picture();
    setFixedSize(ZoomedLength(p.width(), zoom_), ZoomedLength(p.height(), zoom_));
}

void TPictureBox::updatePicture(const QRect& pictureRect) {
    const PixelRect r =
        PictureRectToView({pictureRect.x(), pictureRect.y(), pictureRect.width(), pictureRect.height()}, zoom_);
    // Only what the view shows: a Read draws thousands of stacks, and a
    // region of thousands of rectangles costs more than all their drawing.
    QRect shown = rect();
    if (const QWidget* view = parentWidget()) shown &= QRect(-pos(), view->size());
    const QRect dirty = QRect(r.X, r.Y, r.W, r.H) & shown;
    if (!dirty.isEmpty()) update(dirty);
}

void TPictureBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // Only the exposed part: the map picture is far larger than the view.
    Render(p, e->rect());
}

void TPictureBox::Render(QPainter& p, const QRect& v) const {
    picture().draw(p, v, zoom_);
    if (!PaintOver) return;
    const PixelRect area = ViewRectToPicture({v.x(), v.y(), v.width(), v.height()}, zoom_);
    if (zoom_ != 100) {
        p.scale(zoom_ / 100.0, zoom_ / 100.0);
        // Icons made smaller are averaged, not picked a pixel in four.
        if (zoom_ < 100) p.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    PaintOver(p, QRect(area.X, area.Y, area.W, area.H));
}

}  // namespace varno
