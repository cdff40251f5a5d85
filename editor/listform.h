#pragma once
// The list window: one fixed-pitch list that the main window fills with the
// overloaded hexes or an organisation strength list, and shows. Created by
// the main window the first time it is needed and kept, hidden when the user
// closes it, until the program ends.
#include <QWidget>

class QListWidget;

namespace varno {

class TfrmList : public QWidget {
    Q_OBJECT
public:
    explicit TfrmList(QWidget* owner);

    QListWidget* lbList = nullptr;

    // Un-minimises the window.
    void Restore();
    // True unless the window is maximised (or full screen).
    bool IsNormalState() const;
    // Shows the window and brings it to the front (ShowToolWindow).
    void ShowList();
};

}  // namespace varno
