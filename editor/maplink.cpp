#include "editor/maplink.h"

#include "editor/listbox.h"

namespace varno {

Scenario& TfrmEdit::MapLink::MapScenario() { return form_.Scn(); }

QString TfrmEdit::MapLink::SetupLineLabel(const TSetupRec* rec, int n) { return form_.SetupLineLabel(rec, n); }

void TfrmEdit::MapLink::SelectPlacement(int index, QObject* sender) {
    form_.userAction([&] {
        form_.lbSetUnits->SelectLine(index);
        form_.lbSetUnitsClick(sender);
    });
}

void TfrmEdit::MapLink::MoveCurSetup(int col, int row) {
    form_.userAction([&] { form_.mapMoveCurSetup(col, row); });
}

QRect TfrmEdit::MapLink::MainFrame() { return form_.frameGeometry(); }

void TfrmEdit::MapLink::ShowMapError(QWidget* parent, const QString& message) {
    form_.dialogs_.ShowError(parent, message);
}

}  // namespace varno
