#pragma once
// A list box that reports the user's clicks: a mouse click on a line (also on
// the line already selected) and a move of the selection by the keyboard.
// Selections made by the program (setCurrentRow) are not reported, so that a
// handler can select lines elsewhere without starting their handlers.
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

class TListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void userClick();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QListWidget::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) emit userClick();
    }
    void keyPressEvent(QKeyEvent* e) override {
        const int before = currentRow();
        QListWidget::keyPressEvent(e);
        if (currentRow() != before) emit userClick();
    }
};
