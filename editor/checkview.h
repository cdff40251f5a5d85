#pragma once
// Search > Check Scenario in the main window: runs the whole-scenario check
// of the core, fills the list window with its findings grouped by kind, and
// takes a double-clicked finding to its record (its page, its line, its
// entry in the order-of-battle column, its hex on the map).
#include <QObject>

class QListWidget;
class QListWidgetItem;
class TfrmEdit;
class TfrmList;

class TCheckView : public QObject {
    Q_OBJECT
public:
    explicit TCheckView(TfrmEdit& form);

    // Checks the form's scenario against the MAIN.MAP of its game folder and
    // shows the report in `list`: a heading per kind with its count, the
    // findings below it; "No findings" when there are none.
    void Run(TfrmList& list);
    // Selects the record of a finding line (the main window calls it on a
    // double click in the list window); other lines do nothing.
    void ShowFinding(const QListWidgetItem* item);

private:
    TfrmEdit& form_;
};
