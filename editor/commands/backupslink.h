#pragma once
// The main window's side of the Backups window (backupshost.h).
#include "editor/commands/backupshost.h"
#include "editor/oobform.h"

namespace varno {

class TfrmEdit::BackupsLink : public BackupsHost {
public:
    explicit BackupsLink(TfrmEdit& form) : form_(form) {}

    std::string BackupsScenarioPath() override;
    const Scenario& BackupsCurrentScenario() override;
    void BackupsSelectPlacement(int index) override;
    bool BackupsRestore(const std::string& backupPath) override;
    Dialogs& BackupsDialogs() override { return form_.dialogs_; }

private:
    TfrmEdit& form_;
};

}  // namespace varno
