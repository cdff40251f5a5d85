#pragma once
// A picture control: shows an image at its natural size, one image pixel per
// screen pixel, transparent where the image is. The map picture Image1 and
// every stack image are picture boxes. Hint and Tag are the control's own
// data and never shown.
#include <QImage>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // Replaces the picture and takes its size.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // The picture's pixels to draw on; call update() after drawing.
    QImage& canvas() { return picture_; }

    QString Hint;
    int Tag = 0;
    // Icon list entries (background, foreground) waiting to be drawn on the
    // canvas until the icons are built.
    std::vector<std::pair<int, int>> PendingIcons;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage picture_;
};
