#pragma once
// The undo keys of a text field that has nothing of its own to undo go to the
// window: a field takes Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y for its own typing
// even when there is none, so that, with the keyboard focus in the path field
// after a Read, Edit > Undo and Redo were out of reach of their keys.
#include <QObject>

class QEvent;
class QLineEdit;

namespace varno {

class TUndoKeyFilter : public QObject {
    Q_OBJECT
public:
    // Watches `field`; owned by it.
    explicit TUndoKeyFilter(QLineEdit& field);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QLineEdit& field_;
};

}  // namespace varno
