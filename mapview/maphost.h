#pragma once
// What the map window uses of the main window: the scenario's placements,
// the placement labels, the selection of a placement and the moves. The main
// window implements it; the map window keeps no units of its own.
#include <QRect>
#include <QString>
#include <optional>

#include "mapview/hexgeom.h"

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
    // The main window's frame on the screen: the map window's first place is beside it.
    virtual QRect MainFrame() = 0;
    // An error box with OK.
    virtual void ShowMapError(QWidget* parent, const QString& message) = 0;
};

}  // namespace varno
