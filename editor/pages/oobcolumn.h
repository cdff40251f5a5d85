#pragma once
// The order-of-battle column of the main window: the entries of MAIN.OOB, the
// chain of parents of the selected one, its side, the dot-name edit that
// finds an entry by its designation, and the Add and Remove buttons.
#include <QWidget>
#include <functional>

#include "editor/pages/pagecontext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace varno {

class TListBox;
struct TOobRec;

class TOobColumn : public QWidget {
    Q_OBJECT
public:
    explicit TOobColumn(const PageContext& ctx, QWidget* parent = nullptr);

    // Selects line `index` of the Set Units page and shows its placement
    // (as program code: the column is not told in turn). Set by the window.
    std::function<void(int setupIndex)> ShowPlacement;

    // Handlers; Sender as in TfrmEdit (oobform.h).
    // A line of lbUnits was selected: it becomes CurOob and is shown with
    // its parents; a user's selection also shows the entry's placement.
    void lbUnitsClick(QObject* Sender);
    // A line of the parents list selects that entry in lbUnits.
    void lbDesigClick(QObject* Sender);
    // The dot name typed so far is looked up and its entry selected.
    void edDotNameChange(QObject* Sender);

    // Shows an entry as a click on its line would (its placement, if any, is
    // selected on the Set Units page); nothing when it is not in the list.
    void SelectEntry(const TOobRec* entry, QObject* Sender);
    // Shows the entry of the placement selected on the Set Units page,
    // without selecting a placement in turn.
    void ShowEntryOfPlacement(const TOobRec* entry);
    // The entry of the selected line, or null.
    const TOobRec* SelectedEntry() const;
    // The width that shows the longest unit lines whole.
    int WideLineWidth() const;

    TListBox* lbUnits = nullptr;
    TListBox* lbDesig = nullptr;
    QLabel* lbSide = nullptr;
    QLineEdit* edDotName = nullptr;
    QPushButton* bnAdd = nullptr;
    QPushButton* bnRemove = nullptr;

private:
    PageContext ctx_;
    // Set while a page's selection is being shown in the column: the lookup
    // that follows must not select a placement in turn (for a wagon placed
    // twice it would select the other one).
    bool showingPlacement_ = false;
};

}  // namespace varno
