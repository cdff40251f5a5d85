#pragma once
// What the map window reaches of the editor (maphost.h): the scenario's
// placements and their labels, the selection shared with the pages, the
// moves and placements made by dragging, the groups' and commands' hexes,
// and the questions of a map picture. It also keeps the map current: it
// listens to the document and has the map draw the stacks of every change.
// Each of the map's actions is a user's action of its own (one step of the
// history), run as the main window runs its handlers.
#include <functional>

#include "editor/pages/pagecontext.h"
#include "mapview/maphost.h"
#include "scenario/docchange.h"

namespace varno {

class TEditWidgets;
class TManyRecords;
class TPageDispatch;
class TSearchCommands;
class TfrmMap;

class MapLink : public MapHost {
public:
    // What only the main window does for the map.
    struct Window {
        // Runs an action of the user's: its changes one step of the history,
        // shown in the title and the pages' lines; its errors pass on.
        std::function<void(const std::function<void()>&)> act;
        // The same, its errors shown in an error box.
        std::function<void(const std::function<void()>&)> guarded;
        // The current placement dropped on hex (col, row).
        std::function<void(int col, int row)> moveCurSetup;
    };

    // `ctx.window` is the main window, whose frame the map places itself
    // beside; `map` may be null.
    MapLink(const PageContext& ctx, TEditWidgets& widgets, TPageDispatch& pages, TManyRecords& many,
            TSearchCommands& search, TfrmMap* map, Window window);
    // Refresh Map: every placement drawn anew.
    void RefreshMap();

    const Scenario& MapScenario() override;
    const TSetupRec* CurrentPlacement() override;
    QString SetupLineLabel(const TSetupRec* rec, int n) override;
    void SelectPlacement(int index, QObject* sender) override;
    void MoveCurSetup(int col, int row) override;
    std::optional<HexPos> PlaceEntry(int index, int col, int row) override;
    std::vector<const TSetupRec*> SelectedPlacements() override;
    void SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current) override;
    void MoveSelection(HexPos from, HexPos to) override;
    void PasteAt(HexPos hex) override;
    void PlaceOrganisationAt(HexPos hex) override;
    void SearchForHex() override;
    QRect MainFrame() override;
    void ShowMapError(QWidget* parent, const QString& message) override;
    void SelectRecord(ScnListBox list, int index) override;
    void MoveGroupTo(int index, int col, int row) override;
    void AimCommandAt(int index, int col, int row) override;
    std::optional<PictureChoice> AskMapPicture(QWidget* parent) override;

private:
    std::optional<HexPos> placeEntry(int index, int col, int row);
    void changed(const DocChange& change);
    // Another scenario: no marks, every placement drawn anew, the window shown.
    void startAgain(TfrmMap& map);
    void reportErrors(const std::function<void()>& action);

    PageContext ctx_;
    TEditWidgets& w_;
    TPageDispatch& pages_;
    TManyRecords& many_;
    TSearchCommands& search_;
    TfrmMap* map_;
    Window window_;
};

}  // namespace varno
