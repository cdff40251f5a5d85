#pragma once
// What the Search menu's commands (TSearchCommands) use of the editor beyond
// the scenario, the dialogs and the order-of-battle column. SearchLink
// implements it.
#include <optional>
#include <vector>

#include "mapview/hexgeom.h"
#include "scenario/mapheader.h"
#include "scenario/readlistener.h"

namespace varno {

class TfrmList;

class SearchHost {
public:
    virtual ~SearchHost() = default;
    // The Set Units page writes its pending field edits into its placement.
    virtual void StoreSetupEdits() = 0;
    // Every page writes its pending field edits into its record.
    virtual void StorePageEdits() = 0;
    // Shows the selected placement on the Set Units page again from its
    // record, which changed under the page.
    virtual void ReshowSelectedSetup() = 0;
    // The list window of the check and the strength lists, made when first
    // needed; ShownListWindow() is null until then.
    virtual TfrmList& ListWindow() = 0;
    virtual TfrmList* ShownListWindow() = 0;
    // Selects a line of a page's list as the user's click would: its page
    // comes to the front, its entry is shown in the order-of-battle column.
    // ReinUnits: a unit of the group shown. False when the list has no such line.
    virtual bool ClickLine(ScnListBox list, int line) = 0;
    // Brings the hex to the middle of the map window, when that is open.
    virtual void CentreMapOn(int col, int row) = 0;
    // Outlines the hexes the overloaded-hex check reported on the map.
    virtual void MarkCheckedHexes(const std::vector<HexPos>& hexes) = 0;
    // Shows the map window, brings the hex to the middle and outlines it.
    virtual void GoToHex(int col, int row) = 0;
    // Removes the outline GoToHex made.
    virtual void ClearGoToHex() = 0;
    // The map's grid: the map window's, else that of the game folder's
    // MAIN.MAP; none without a readable one.
    virtual std::optional<MapGrid> MapGridOfGame() = 0;
};

}  // namespace varno
