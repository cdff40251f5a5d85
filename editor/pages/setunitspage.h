#pragma once
// The "Set Units" page: the placements at scenario start, with the defaults
// for new ones, the values of the current placement and its flag boxes.
#include <QWidget>
#include <cstdint>

#include "editor/pages/editpage.h"
#include "editor/pages/pagecontext.h"
#include "editor/pages/togetheredit.h"
#include "scenario/scnedit.h"

class QCheckBox;

class QLabel;

namespace varno {

class TListBox;
class TNumEdit;
struct TOobRec;
struct TSetupRec;

class TSetUnitsPage : public QWidget, public TEditPage {
    Q_OBJECT
public:
    TSetUnitsPage(const PageContext& ctx, QWidget* parent = nullptr);

    // Writes the edits and flag boxes into CurSetup when a line is selected
    // and they differ from it.
    void StoreSetupEdits();
    // Stores the edits, then makes the selected line's placement CurSetup and
    // shows it; the placement shown, or null when no line is selected.
    const TSetupRec* SelectSetup();
    // Shows CurSetup's values again from the record (after a move on the map,
    // for instance); unstored edits are replaced.
    void ShowSetup();
    // With several placements selected: the fields show what they share,
    // blank (a box partly checked) where they differ.
    void ShowTogether();
    // Writes CurSetup's hex into edCol and edRow (what a move on the map changes).
    void ShowHex();
    // The Add branch: places `entry` and selects its new line, leaving no
    // placement current; true when the caller is to show the selected line.
    bool Add(const TOobRec* entry);
    // The defaults row's values for a new placement.
    SetupDefaults Defaults() const;
    // The Remove branch for the selected placement.
    void Remove();

    // The OR of the tags of the checked flag boxes (the main window's check
    // boxes with a tag above 0).
    std::uint32_t CollectFlags() const;
    // Checks each flag box whose bit is set in `flags`, unchecks the others.
    void ShowFlags(std::uint32_t flags);
    // The page's values of the current placement, as StoreSetupEdits stores them.
    SetupFields Fields() const;

    // The defaults for new placements.
    QCheckBox* cbDefMounted = nullptr;
    QCheckBox* cbDefFixed = nullptr;
    TNumEdit* edDefFace = nullptr;
    // The current placement's values.
    TNumEdit* edCol = nullptr;
    TNumEdit* edRow = nullptr;
    TNumEdit* edStrength = nullptr;
    TNumEdit* edFace = nullptr;
    TNumEdit* edFatigue = nullptr;
    QCheckBox* cbFixed = nullptr;
    QCheckBox* cbLowAmmo = nullptr;
    QCheckBox* cbNoAmmo = nullptr;
    QCheckBox* cbDisorg = nullptr;
    QCheckBox* cbRouted = nullptr;
    QCheckBox* cbMounted = nullptr;
    QCheckBox* cbDismounted = nullptr;
    QCheckBox* cbColonel = nullptr;
    TListBox* lbSetUnits = nullptr;

    // Which record the fields belong to; the window writes it.
    QLabel* lblEditing = nullptr;

    // TEditPage
    void StoreEdits() override { StoreSetupEdits(); }
    bool AddEntry(const TOobRec* entry) override { return Add(entry); }
    bool RemoveSelected() override {
        Remove();
        return false;
    }
    TListBox* RecordLines() const override { return lbSetUnits; }
    QLabel* EditingLine() const override { return lblEditing; }
    int CurrentLine() const override;

private:
    QList<QCheckBox*> flagBoxes() const;
    // Shows the fields and boxes of `f`, the boxes of `rules` enabled.
    void showFields(const SetupFields& f, std::uint32_t rules, bool fatigue);
    PageContext ctx_;
    TMixedFields* mixed_ = nullptr;
    TogetherEdit<TSetupRec> together_;
};

// The property that carries a check box's flag bit.
inline constexpr const char* kFlagTag = "Tag";

}  // namespace varno
