#pragma once
// The "Commands (AI)" page: orders for the computer player's command groups,
// from a date and time, towards a hex.
#include <QWidget>

#include "editor/pages/datefields.h"
#include "editor/pages/editpage.h"
#include "editor/pages/pagecontext.h"
#include "editor/pages/togetheredit.h"
#include "scenario/scnedit.h"

class QLabel;

namespace varno {

class TListBox;
class TRadioGroup;
class TSpinEdit;
struct TOobRec;
struct TCommandRec;

class TCommandsPage : public QWidget, public TEditPage {
    Q_OBJECT
public:
    TCommandsPage(const PageContext& ctx, QWidget* parent = nullptr);

    // Writes the fields into CurCommand when a line is selected and they differ.
    void StoreCommandEdits();
    // Stores the fields, then makes the selected line's command current and
    // shows it; the command shown, or null.
    const TCommandRec* SelectCommand();
    // The Add branch: a new command of `entry` from the fields, its line
    // selected with no command current. True when the caller is to show it.
    bool Add(const TOobRec* entry);
    // The Remove branch for the selected command.
    void Remove();
    CommandFields Fields() const;
    // With several commands selected: the fields show what they share,
    // blank where they differ.
    void ShowTogether();

    TSpinEdit* seYear3 = nullptr;
    TSpinEdit* seMonth3 = nullptr;
    TSpinEdit* seDay3 = nullptr;
    TSpinEdit* seHour3 = nullptr;
    TSpinEdit* seMin3 = nullptr;
    TSpinEdit* seGroup = nullptr;
    TRadioGroup* rgrpCommand = nullptr;
    TSpinEdit* seCol2 = nullptr;
    TSpinEdit* seRow2 = nullptr;
    TListBox* lbCommands = nullptr;

    // Which record the fields belong to; the window writes it.
    QLabel* lblEditing = nullptr;

    // TEditPage
    void StoreEdits() override { StoreCommandEdits(); }
    bool AddEntry(const TOobRec* entry) override { return Add(entry); }
    bool RemoveSelected() override {
        Remove();
        return false;
    }
    TListBox* RecordLines() const override { return lbCommands; }
    QLabel* EditingLine() const override { return lblEditing; }
    int CurrentLine() const override;

private:
    PageContext ctx_;
    DateSpins date_;
    TMixedFields* mixed_ = nullptr;
    TogetherEdit<TCommandRec> together_;
    void showFields(const CommandFields& f);
};

}  // namespace varno
