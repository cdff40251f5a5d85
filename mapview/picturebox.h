#pragma once
// A picture control: shows the map picture magnified by a zoom step (100 %:
// one picture pixel per screen pixel). The map picture Image1 is one; whatever
// lies over the picture is painted by PaintOver, in picture pixels.
#include <QWidget>
#include <functional>
#include <memory>

#include "mapview/mappicture.h"

class QPainter;

namespace varno {

class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // Replaces the picture (none: an empty one) and takes its size.
    void setPicture(std::shared_ptr<const MapPicture> picture);
    // The picture shown; an empty one when there is none.
    const MapPicture& picture() const;
    const std::shared_ptr<const MapPicture>& pictureRef() const { return picture_; }

    // The zoom in percent (a step of kZoomSteps); the control takes the size
    // of the magnified picture.
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    // Repaints the part of the view that shows a rectangle of the picture.
    void updatePicture(const QRect& pictureRect);
    // Paints the part `area` of the view (the magnified picture and what lies
    // over it) at that place, as the screen shows it: for pictures of it.
    void Render(QPainter& p, const QRect& area) const;

    // Paints over the picture: the painter works in picture pixels (it
    // applies the zoom), the rectangle is the exposed part in picture pixels.
    std::function<void(QPainter&, const QRect&)> PaintOver;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void takeSize();

    std::shared_ptr<const MapPicture> picture_;
    int zoom_ = 100;
};

}  // namespace varno
