#pragma once
// The main window's side of the map window (maphost.h).
#include <functional>

#include "editor/oobform.h"
#include "mapview/maphost.h"
#include "scenario/docchange.h"

namespace varno {

class TfrmEdit::MapLink : public MapHost {
public:
    // Listens to the document: the map draws the stacks of every change.
    explicit MapLink(TfrmEdit& form);
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

    TfrmEdit& form_;
};

}  // namespace varno
