#include "editor/undokeyfilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace varno {

TUndoKeyFilter::TUndoKeyFilter(QLineEdit& field) : QObject(&field), field_(field) { field.installEventFilter(this); }

bool TUndoKeyFilter::eventFilter(QObject* watched, QEvent* e) {
    if (watched != &field_ || e->type() != QEvent::ShortcutOverride) return false;
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
