#include "editor/backupslink.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>

#include "editor/backupswindow.h"
#include "editor/filecommands.h"
#include "editor/listbox.h"
#include "editor/scndocument.h"
#include "editor/setunitspage.h"
#include "editor/textconv.h"
#include "mapview/mapform.h"
#include "mapview/stackimage.h"
#include "scenario/filenames.h"
#include "scenario/oobreader.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"

namespace varno {

std::string TfrmEdit::BackupsLink::BackupsScenarioPath() {
    // The scenario in the editor; before any Read, the path given, as bytes.
    if (!form_.Document().FilePath().empty()) return form_.Document().FilePath();
    const std::string given = form_.scenarioPathBytes();
    return given.empty() ? given : AbsoluteScenarioPath(given);
}

const Scenario& TfrmEdit::BackupsLink::BackupsCurrentScenario() {
    // As Save does: what the pages show but have not stored yet is part of it.
    form_.StoreSetupEdits();
    form_.StoreReleaseEdits();
    form_.StoreGroupEdits();
    form_.StoreCommandEdits();
    return form_.Scn();
}

void TfrmEdit::BackupsLink::BackupsSelectPlacement(int index) {
    if (index < 0 || index >= form_.lbSetUnits->count()) return;
    form_.Notebook1->setCurrentWidget(form_.pgSetUnits);
    form_.lbSetUnits->SelectLine(index);
    form_.lbSetUnitsClick(form_.lbSetUnits);
    TfrmMap* map = form_.frmMap;
    if (!map || index >= static_cast<int>(form_.Scn().SetupList().size())) return;
    const TSetupRec* rec = form_.Scn().SetupList()[index];
    // The map's troubles do not undo the selection.
    try {
        map->Show();
    } catch (const ScnError& e) {
        form_.dialogs_.ShowError(map, MessageText(e.message()));
        return;
    }
    if (const TStackImage* stack = map->StackAt(rec->Col, rec->Row); stack && map->Scroll1)
        map->Scroll1->ensureVisible(stack->Left + 16, stack->Top + 16, 64, 64);
}

bool TfrmEdit::BackupsLink::BackupsRestore(const std::string& backupPath) {
    // The question Read asks.
    if (!form_.files_->MayDiscard()) return false;
    // Read would take a file gone since it was listed for an empty scenario.
    if (!FileExists(backupPath)) throw ScnError("Cannot read " + backupPath + ": the file is gone");
    const std::string path = BackupsScenarioPath();
    form_.setScenarioPath(path);
    const auto releaseForm = [this] {
        form_.cbV103->setChecked(!form_.Scn().ReleaseChanceInFile);
        form_.seChance->setEnabled(!form_.cbV103->isChecked());
    };
    try {
        form_.Document().Restore(backupPath, path, form_.ListLines());
    } catch (...) {
        releaseForm();
        throw;
    }
    releaseForm();
    form_.enableScenarioCommands(true);
    return true;
}

void TfrmEdit::mnuBackupsClick(QObject* /*Sender*/) {
    if (!frmBackups) frmBackups = new TfrmBackups(*backupsLink_, this);
    frmBackups->Refresh();
    frmBackups->show();
    frmBackups->raise();
    frmBackups->activateWindow();
}

}  // namespace varno
