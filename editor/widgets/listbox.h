#pragma once
// A list box that reports the user's clicks: a mouse press that selects a
// line, a click on the line already selected, and a move of the selection by the keyboard.
// Selections made by the program (setCurrentRow) are not reported, so that a
// handler can select lines elsewhere without starting their handlers.
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <functional>
#include <utility>

namespace varno {

class TListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    // The selected line, or -1 (a current line that is not selected is none).
    int SelectedLine() const {
        const int row = currentRow();
        return row >= 0 && item(row) && item(row)->isSelected() ? row : -1;
    }
    // Selects a line as program code does: userClick is not emitted.
    void SelectLine(int row) { setCurrentRow(row); }
    // Leaves no line selected.
    void SelectNone() {
        setCurrentRow(-1);
        clearSelection();
    }

    // What a drag of line `row` carries (the list must have dragging
    // enabled); unset, a line carries nothing and no drag starts.
    std::function<QMimeData*(int row)> DragData;

signals:
    void userClick();
    // After a click (at its release) or a key has settled which lines are
    // selected: with extended selection the press alone may leave the
    // former lines selected until the release.
    void linesChosen();
    // The Delete key on the list.
    void deleteKey();

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (!DragData || items.isEmpty()) return nullptr;
        return DragData(row(items.first()));
    }
    // A press that moves the selection reports at once: a box opened as the
    // press took the focus (a field's bad number) swallows the release, and
    // the highlight would move without the page following it. A release
    // reports a click on the line already selected.
    void mousePressEvent(QMouseEvent* e) override {
        const int before = currentRow();
        QListWidget::mousePressEvent(e);
        pressReported_ = e->button() == Qt::LeftButton && currentRow() != before && SelectedLine() >= 0;
        if (pressReported_) emit userClick();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QListWidget::mouseReleaseEvent(e);
        const bool reported = std::exchange(pressReported_, false);
        if (!reported && e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) emit userClick();
        if (e->button() == Qt::LeftButton) emit linesChosen();
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Delete)) {
            emit deleteKey();
            return;
        }
        const int before = currentRow();
        QListWidget::keyPressEvent(e);
        if (currentRow() != before || e->matches(QKeySequence::SelectAll)) {
            emit userClick();
            emit linesChosen();
        }
    }

private:
    bool pressReported_ = false;
};

}  // namespace varno
