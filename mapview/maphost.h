#pragma once
// What the map window uses of the main window: the scenario's placements,
// the placement labels, the selection of a placement and the moves. The main
// window's side (MapLink) implements it; the map window keeps no units of its own.
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "mapview/hexgeom.h"
#include "scenario/readlistener.h"  // ScnListBox

class QObject;
class QWidget;

namespace varno {

class Scenario;
struct TSetupRec;

// The data of an order-of-battle entry dragged onto the map: its index in
// OobList, in decimal digits.
inline constexpr char kOobEntryMimeType[] = "application/x-varno-oob-entry";

class MapHost {
public:
    virtual ~MapHost() = default;
    // SetupList and GameDir.
    virtual const Scenario& MapScenario() = 0;
    // The placement selected on the Set Units page (CurSetup), or none.
    virtual const TSetupRec* CurrentPlacement() = 0;
    // The label of a placement: its Set Units line, from the unit's name on
    // for a unit, else the line's end; at most n characters.
    virtual QString SetupLineLabel(const TSetupRec* rec, int n) = 0;
    // Selects placement `index` of SetupList on the Set Units page as a click
    // from `sender` does: it becomes CurSetup, is shown, and its entry is
    // selected in the order-of-battle column.
    virtual void SelectPlacement(int index, QObject* sender) = 0;
    // Moves CurSetup to hex (col, row): its record, the page's column and row
    // fields, and the scenario's changed mark.
    virtual void MoveCurSetup(int col, int row) = 0;
    // An entry dropped on hex (col, row), as one change of the scenario: a
    // unit or leader already placed moves there, anything else placeable is
    // added there as Add on Set Units does; the placement is then selected.
    // Returns the hex the placement left (the hex itself for a new one), or
    // none when nothing was placed (no such entry, an organisation).
    virtual std::optional<HexPos> PlaceEntry(int index, int col, int row) = 0;
    // The placements selected together (the shared selection), current last
    // among them or not at all.
    virtual std::vector<const TSetupRec*> SelectedPlacements() = 0;
    // Makes `recs` the selected placements (`current` the current one, else
    // the last), shown on Set Units as selected lines.
    virtual void SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current) = 0;
    // Moves the selected placements as a formation, so that one at `from`
    // comes to `to`: one step, or one message for a refused move.
    virtual void MoveSelection(HexPos from, HexPos to) = 0;
    // The map's context menu: what it offers besides the map's own items.
    // Paste Here: the clipboard's placements moved as a formation to `hex`.
    virtual void PasteAt(HexPos hex) = 0;
    // Place Organisation Here: the organisation selected in the column.
    virtual void PlaceOrganisationAt(HexPos hex) = 0;
    // Search > for Hex.
    virtual void SearchForHex() = 0;
    // The main window's frame on the screen: the map window's first place is beside it.
    virtual QRect MainFrame() = 0;
    // An error box with OK.
    virtual void ShowMapError(QWidget* parent, const QString& message) = 0;

    // What the overlays need. Selects record `index` of `list` on its page,
    // as a click on its line does (the page's line then says "Editing: ...").
    virtual void SelectRecord(ScnListBox /*list*/, int /*index*/) {}
    // One step of the history each: group `index` arrives at hex (col, row)
    // ("Move group 2.1.3 to 12,7"); command `index` aims at it.
    virtual void MoveGroupTo(int /*index*/, int /*col*/, int /*row*/) {}
    virtual void AimCommandAt(int /*index*/, int /*col*/, int /*row*/) {}
    // File > Export Map Picture: the picture's file and whether the whole
    // map (else the part in view) goes into it; none when the user cancels.
    struct PictureChoice {
        QString Path;
        bool WholeMap = false;
    };
    virtual std::optional<PictureChoice> AskMapPicture(QWidget* /*parent*/) { return std::nullopt; }
};

}  // namespace varno
