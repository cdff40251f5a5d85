#include "editor/commands/backupslink.h"

#include <QScrollArea>

#include "editor/commands/filecommands.h"
#include "editor/document/scndocument.h"
#include "editor/pages/pagedispatch.h"
#include "editor/reporterror.h"
#include "editor/windows/backupswindow.h"
#include "mapview/mapform.h"
#include "mapview/stackimage.h"
#include "mapview/windowfit.h"

namespace varno {

BackupsLink::BackupsLink(TScnDocument& doc, Dialogs& dialogs, TPageDispatch& pages, TFileCommands& files, TfrmMap* map,
                         QWidget& owner)
    : doc_(doc), dialogs_(dialogs), pages_(pages), files_(files), map_(map), owner_(owner) {}

void BackupsLink::ShowWindow() {
    if (!window_) {
        window_ = new TfrmBackups(*this, &owner_);
        window_->Follow(doc_);
    }
    window_->Refresh();
    ShowToolWindow(*window_, owner_);
}

// The scenario in the editor; before any Read, the path given.
std::string BackupsLink::BackupsScenarioPath() { return files_.ScenarioFile(); }

const Scenario& BackupsLink::BackupsCurrentScenario() {
    // As Save does: what the pages show but have not stored yet is part of it.
    pages_.StoreAll();
    return doc_.Scn();
}

void BackupsLink::BackupsSelectPlacement(int index) {
    if (!pages_.ClickLine(ScnListBox::SetUnits, index)) return;
    if (!map_ || index >= static_cast<int>(doc_.Scn().SetupList().size())) return;
    const TSetupRec* rec = doc_.Scn().SetupList()[index];
    // The map's troubles do not undo the selection.
    TfrmMap* map = map_;
    if (!ReportErrors(dialogs_, map, [map] { map->Show(); })) return;
    if (const TStackImage* stack = map->StackAt(rec->Col, rec->Row); stack && map->Scroll1())
        map->Scroll1()->ensureVisible(stack->Left + 16, stack->Top + 16, 64, 64);
}

bool BackupsLink::BackupsRestore(const std::string& backupPath) { return files_.Restore(backupPath); }

}  // namespace varno
