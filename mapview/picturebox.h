#pragma once
// A picture control: shows an image at its natural size, one image pixel per
// screen pixel. The map picture Image1 is one; whatever lies over the picture
// is painted by PaintOver.
#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

namespace varno {

class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // Replaces the picture and takes its size.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // Paints over the picture within the exposed rectangle (picture pixels).
    std::function<void(QPainter&, const QRect&)> PaintOver;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage picture_;
};

}  // namespace varno
