#pragma once
// The undo keys of a text field that has nothing of its own to undo go to the
// window: a field takes Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y for its own typing
// even when there is none, so that, with the keyboard focus in the path field
// after a Read or in a page's field, Edit > Undo and Redo were out of reach of
// their keys.
#include <QObject>

class QEvent;
class QLineEdit;
class QWidget;

namespace varno {

class TUndoKeyFilter : public QObject {
    Q_OBJECT
public:
    // Watches `field`; owned by it.
    explicit TUndoKeyFilter(QLineEdit& field);
    // Watches `widget`, whose typing `field` holds (a spin box's edit); owned
    // by `widget`.
    TUndoKeyFilter(QWidget& widget, QLineEdit& field);

    // Watches every line edit and spin box inside `page`.
    static void WatchFieldsOf(QWidget& page);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget& widget_;
    QLineEdit& field_;
};

}  // namespace varno
