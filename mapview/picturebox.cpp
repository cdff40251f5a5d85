#include "mapview/picturebox.h"

#include <QPaintEvent>
#include <QPainter>

namespace varno {

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    setFixedSize(picture_.size());
    update();
}

void TPictureBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // Only the exposed part: the map picture is far larger than the view.
    const QRect r = e->rect() & picture_.rect();
    if (!r.isEmpty()) p.drawImage(r.topLeft(), picture_, r);
    if (PaintOver) PaintOver(p, e->rect());
}

}  // namespace varno
