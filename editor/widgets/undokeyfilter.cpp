#include "editor/widgets/undokeyfilter.h"

#include <QAbstractSpinBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace varno {

TUndoKeyFilter::TUndoKeyFilter(QLineEdit& field) : TUndoKeyFilter(field, field) {}

TUndoKeyFilter::TUndoKeyFilter(QWidget& widget, QLineEdit& field) : QObject(&widget), widget_(widget), field_(field) {
    // Whichever of the two the key is offered to first.
    widget.installEventFilter(this);
    if (&field != &widget) field.installEventFilter(this);
}

void TUndoKeyFilter::WatchFieldsOf(QWidget& page) {
    for (QAbstractSpinBox* spin : page.findChildren<QAbstractSpinBox*>())
        if (auto* edit = spin->findChild<QLineEdit*>()) new TUndoKeyFilter(*spin, *edit);
    for (QLineEdit* edit : page.findChildren<QLineEdit*>())
        if (!qobject_cast<QAbstractSpinBox*>(edit->parent())) new TUndoKeyFilter(*edit);
}

bool TUndoKeyFilter::eventFilter(QObject* watched, QEvent* e) {
    if ((watched != &widget_ && watched != &field_) || e->type() != QEvent::ShortcutOverride) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    const bool undo = key->matches(QKeySequence::Undo), redo = key->matches(QKeySequence::Redo);
    if ((undo && !field_.isUndoAvailable()) || (redo && !field_.isRedoAvailable())) {
        // Not taken by the field: the window's shortcut gets the key.
        e->ignore();
        return true;
    }
    return false;
}

}  // namespace varno
