#pragma once
// The main window's side of the map window (maphost.h).
#include "editor/oobform.h"
#include "mapview/maphost.h"

namespace varno {

class TfrmEdit::MapLink : public MapHost {
public:
    explicit MapLink(TfrmEdit& form) : form_(form) {}

    const Scenario& MapScenario() override;
    const TSetupRec* CurrentPlacement() override;
    QString SetupLineLabel(const TSetupRec* rec, int n) override;
    void SelectPlacement(int index, QObject* sender) override;
    void MoveCurSetup(int col, int row) override;
    std::optional<HexPos> PlaceEntry(int index, int col, int row) override;
    QRect MainFrame() override;
    void ShowMapError(QWidget* parent, const QString& message) override;

private:
    std::optional<HexPos> placeEntry(int index, int col, int row);

    TfrmEdit& form_;
};

}  // namespace varno
