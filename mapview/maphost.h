#pragma once
// What the map window uses of the main window: the scenario's placements,
// the placement labels, the selection of a placement and the moves. The main
// window implements it; the map window keeps no units of its own.
#include <QRect>
#include <QString>

class QObject;
class QWidget;

namespace varno {

class Scenario;
struct TSetupRec;

class MapHost {
public:
    virtual ~MapHost() = default;
    // SetupList, CurSetup and GameDir.
    virtual Scenario& MapScenario() = 0;
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
    // The main window's frame on the screen: the map window's first place is beside it.
    virtual QRect MainFrame() = 0;
    // An error box with OK.
    virtual void ShowMapError(QWidget* parent, const QString& message) = 0;
};

}  // namespace varno
