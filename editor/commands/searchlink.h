#pragma once
// The main window's side of the Search menu's commands (searchhost.h).
#include "editor/commands/searchhost.h"
#include "editor/oobform.h"

namespace varno {

class TfrmEdit::SearchLink : public SearchHost {
public:
    explicit SearchLink(TfrmEdit& form) : form_(form) {}

    void StoreSetupEdits() override { form_.StoreSetupEdits(); }
    void StorePageEdits() override;
    void ReshowSelectedSetup() override { form_.reshowSelectedSetup(); }
    TfrmList& ListWindow() override { return form_.listWindow(); }
    TfrmList* ShownListWindow() override { return form_.frmList; }
    bool ClickLine(ScnListBox list, int line) override;
    void CentreMapOn(int col, int row) override;
    void MarkCheckedHexes(const std::vector<HexPos>& hexes) override;
    void GoToHex(int col, int row) override;
    void ClearGoToHex() override;
    std::optional<MapGrid> MapGridOfGame() override;

private:
    TfrmEdit& form_;
};

}  // namespace varno
