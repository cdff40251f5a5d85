#pragma once
// The commands of the Search menu and their relatives on the Edit and View
// menus: search for a unit, synch with the order of battle, the check for
// overloaded hexes, Check Scenario and the strength lists. The computations are the core's
// (scnchecks.h); this class asks, shows and selects.
#include <functional>
#include <vector>

#include "editor/pages/pagecontext.h"
#include "scenario/readlistener.h"
#include "scenario/scnchecks.h"

class QListWidgetItem;
class QObject;

namespace varno {

class SearchHost;
class TCheckView;
class TOobColumn;

class TSearchCommands {
public:
    TSearchCommands(const PageContext& ctx, TOobColumn& column, SearchHost& host);

    // Edit > Synch w/ OOB.
    void mnuSynchOOBClick(QObject* Sender);
    // Search > for Unit / Leader.
    void mnuSearchUnitClick(QObject* Sender);
    // Search > for Hex: asks for "column,row", shows the hex on the map and
    // selects its first placement.
    void mnuSearchHexClick(QObject* Sender);
    // Search > for Overloaded Hexes; the map outlines the hexes reported, and
    // a click on a finding brings its hex into the map's view.
    void mnuErrorCheckClick(QObject* Sender);
    // Search > Check Scenario: the findings in the list window; a double
    // click on one selects its record.
    void mnuCheckScenarioClick(QObject* Sender);
    // A list's context menu "Check This Record": the same check's findings
    // of the `index`th record of `page`'s list.
    void CheckRecord(ScnListBox page, int index);
    // View > Strength from SCN / from OOB.
    void mnuStrengthSCNClick(QObject* Sender);
    void mnuStrengthOOBClick(QObject* Sender);
    // Fills the list window with the organisation strengths, from the
    // placements or from the order of battle, and shows it.
    void ShowStrength(bool FromScenario);

private:
    void overloadClicked(QListWidgetItem* item);
    // The list window's Refresh: `command` again, its errors in the error box.
    std::function<void()> remake(std::function<void()> command);
    TCheckView& checkView();

    PageContext ctx_;
    TOobColumn& column_;
    SearchHost& host_;
    TCheckView* checkView_ = nullptr;    // none until first used; a child of the window
    std::vector<HexFinding> overloads_;  // what the last overloaded-hex check listed
    bool overloadClicks_ = false;        // the list window's clicks are connected
};

}  // namespace varno
