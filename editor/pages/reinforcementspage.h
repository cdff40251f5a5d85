#pragma once
// The "Reinforcements" page: groups of up to ten units arriving together at
// a date, time and hex, and the units of the selected group.
#include <QWidget>

#include "editor/pages/datefields.h"
#include "editor/pages/editpage.h"
#include "editor/pages/pagecontext.h"
#include "editor/pages/togetheredit.h"
#include "scenario/scnedit.h"

class QLabel;

namespace varno {

class TListBox;
class TSpinEdit;
struct TOobRec;
struct TReinfGroup;

class TReinforcementsPage : public QWidget, public TEditPage {
    Q_OBJECT
public:
    TReinforcementsPage(const PageContext& ctx, QWidget* parent = nullptr);

    // Writes the fields into CurReinf when a group line is selected and they differ.
    void StoreGroupEdits();
    // Stores the fields, then makes the selected line's group current, shows
    // it and lists its units (for two or more, the first selected); the group
    // shown, or null.
    const TReinfGroup* SelectGroup();
    // The unit of the selected line of lbReinUnits, or null.
    const TOobRec* SelectedUnit() const;
    // The Add branch: `entry` goes to its own group, the selected group or a
    // new one, as the user answers; the group's line is selected with no
    // group current. True when the caller is to show the selected line.
    bool Add(const TOobRec* entry);
    // The Remove branch: the selected unit of the current group, or the group
    // with its only unit. True when the caller is to show the selected line.
    bool Remove();
    GroupFields Fields() const;
    // With several groups selected: the fields show what they share, blank
    // where they differ.
    void ShowTogether();

    TSpinEdit* seYear2 = nullptr;
    TSpinEdit* seMonth2 = nullptr;
    TSpinEdit* seDay2 = nullptr;
    TSpinEdit* seHour2 = nullptr;
    TSpinEdit* seMin2 = nullptr;
    TSpinEdit* seChance2 = nullptr;
    TSpinEdit* seCol = nullptr;
    TSpinEdit* seRow = nullptr;
    TSpinEdit* seFace = nullptr;
    TSpinEdit* seProt = nullptr;
    TListBox* lbReinfor = nullptr;
    TListBox* lbReinUnits = nullptr;

    // Which record the fields belong to; the window writes it.
    QLabel* lblEditing = nullptr;

    // TEditPage
    void StoreEdits() override { StoreGroupEdits(); }
    bool AddEntry(const TOobRec* entry) override { return Add(entry); }
    bool RemoveSelected() override { return Remove(); }
    TListBox* RecordLines() const override { return lbReinfor; }
    QLabel* EditingLine() const override { return lblEditing; }
    int CurrentLine() const override;

private:
    PageContext ctx_;
    TMixedFields* mixed_ = nullptr;
    TogetherEdit<TReinfGroup> together_;
    void showFields(const GroupFields& f);
    DateSpins date_;
};

}  // namespace varno
