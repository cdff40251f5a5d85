#pragma once
// What the Search menu's commands (TSearchCommands) reach beyond the scenario
// and the column (searchhost.h): the pages' pending edits and their lines,
// the map window, and the list window of the check and the strength lists,
// which the link makes at first use and keeps.
#include "editor/commands/searchhost.h"

class QWidget;

namespace varno {

class TPageDispatch;
class TScnDocument;
class TfrmMap;

class SearchLink : public SearchHost {
public:
    // `window` owns the list window; `map` may be null.
    SearchLink(TScnDocument& doc, TPageDispatch& pages, TfrmMap* map, QWidget& window);

    void StoreSetupEdits() override;
    void StorePageEdits() override;
    void ReshowSelectedSetup() override;
    TfrmList& ListWindow() override;
    TfrmList* ShownListWindow() override { return list_; }
    bool ClickLine(ScnListBox list, int line) override;
    void CentreMapOn(int col, int row) override;
    void MarkCheckedHexes(const std::vector<HexPos>& hexes) override;
    void GoToHex(int col, int row) override;
    void ClearGoToHex() override;
    std::optional<MapGrid> MapGridOfGame() override;

private:
    TScnDocument& doc_;
    TPageDispatch& pages_;
    TfrmMap* map_;
    QWidget& window_;
    TfrmList* list_ = nullptr;  // none until first needed; a child of the window
};

}  // namespace varno
