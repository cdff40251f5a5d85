#pragma once
// What the notebook's pages share with the main window: the scenario they
// edit, the listener that keeps the list boxes in step with its lists, the
// dialogs, and the status panel.
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace varno {

class Dialogs;
class EditListener;
class Scenario;

struct PageContext {
    Scenario& scn;
    EditListener& lines;
    Dialogs& dialogs;
    QWidget* window;  // parent of the message boxes
    std::function<void(const QString&)> status;
};

// The line above a page's fields that names the record they belong to.
QLabel* NewEditingLabel(QWidget* page);

}  // namespace varno
