#pragma once
// A list box that reports the user's clicks: a mouse click on a line (also on
// the line already selected) and a move of the selection by the keyboard.
// Selections made by the program (setCurrentRow) are not reported, so that a
// handler can select lines elsewhere without starting their handlers.
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <functional>

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
    // The Delete key on the list.
    void deleteKey();

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (!DragData || items.isEmpty()) return nullptr;
        return DragData(row(items.first()));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QListWidget::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) emit userClick();
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Delete)) {
            emit deleteKey();
            return;
        }
        const int before = currentRow();
        QListWidget::keyPressEvent(e);
        if (currentRow() != before || e->matches(QKeySequence::SelectAll)) emit userClick();
    }
};

}  // namespace varno
