#pragma once
// What the notebook's pages share with the main window: the document whose
// scenario they edit (its records, its selection and the step of the user's
// action under way), the listener that keeps the list boxes in step with its
// lists, the dialogs, and the status panel.
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace varno {

class Dialogs;
class EditListener;
class EditStep;
class Scenario;
class Selection;
class TScnDocument;

struct PageContext {
    TScnDocument& doc;
    EditListener& lines;
    Dialogs& dialogs;
    QWidget* window;  // parent of the message boxes
    std::function<void(const QString&)> status;

    Scenario& scn() const;
    Selection& sel() const;
    // The step of the user's action under way: every edit operation a page
    // makes records into it, so that the action can be undone.
    EditStep& step() const;
};

// The line above a page's fields that names the record they belong to.
QLabel* NewEditingLabel(QWidget* page);

}  // namespace varno
