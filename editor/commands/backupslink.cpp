#include "editor/commands/backupslink.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>

#include "editor/commands/filecommands.h"
#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/reporterror.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "editor/windows/backupswindow.h"
#include "mapview/mapform.h"
#include "mapview/stackimage.h"
#include "mapview/windowfit.h"
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
    form_.StorePageEdits();
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
    if (!ReportErrors(form_.dialogs_, map, [map] { map->Show(); })) return;
    if (const TStackImage* stack = map->StackAt(rec->Col, rec->Row); stack && map->Scroll1())
        map->Scroll1()->ensureVisible(stack->Left + 16, stack->Top + 16, 64, 64);
}

bool TfrmEdit::BackupsLink::BackupsRestore(const std::string& backupPath) {
    // The question Read asks.
    if (!form_.files_->MayDiscard()) return false;
    // Both files are loaded first: a refused Restore changes nothing, as a
    // refused Read does; one that stops at a bad line keeps what it read.
    const std::string path = BackupsScenarioPath();
    TScnDocument::Loaded loaded = TScnDocument::LoadBackup(backupPath, path);
    const auto readDone = [this, &path] {
        form_.setScenarioPath(path);
        form_.cbV103->setChecked(!form_.Scn().ReleaseChanceInFile);
        form_.seChance->setEnabled(!form_.cbV103->isChecked());
    };
    try {
        form_.Document().Restore(std::move(loaded), path, form_.ListLines());
    } catch (...) {
        readDone();
        throw;
    }
    readDone();
    form_.enableScenarioCommands(true);
    return true;
}

void TfrmEdit::mnuBackupsClick(QObject* /*Sender*/) {
    if (!frmBackups) {
        frmBackups = new TfrmBackups(*backupsLink_, this);
        frmBackups->Follow(*doc_);
    }
    frmBackups->Refresh();
    ShowToolWindow(*frmBackups, *this);
}

}  // namespace varno
