#pragma once
// What the Backups window reaches of the editor (backupshost.h): the
// scenario's file and its records as the pages show them, a placement
// selected on Set Units and shown on the map, and Restore through the File
// menu's commands. The link makes the Backups window at first use and keeps it.
#include "editor/commands/backupshost.h"

class QWidget;

namespace varno {

class TFileCommands;
class TPageDispatch;
class TScnDocument;
class TfrmBackups;
class TfrmMap;

class BackupsLink : public BackupsHost {
public:
    // `owner` (the main window) owns the Backups window; `map` may be null.
    BackupsLink(TScnDocument& doc, Dialogs& dialogs, TPageDispatch& pages, TFileCommands& files, TfrmMap* map,
                QWidget& owner);

    // File > Backups...: the Backups window, made at first use, its files
    // compared again.
    void ShowWindow();
    // The Backups window; none until first shown.
    TfrmBackups* Window() const { return window_; }

    std::string BackupsScenarioPath() override;
    const Scenario& BackupsCurrentScenario() override;
    void BackupsSelectPlacement(int index) override;
    bool BackupsRestore(const std::string& backupPath) override;
    Dialogs& BackupsDialogs() override { return dialogs_; }

private:
    TScnDocument& doc_;
    Dialogs& dialogs_;
    TPageDispatch& pages_;
    TFileCommands& files_;
    TfrmMap* map_;
    QWidget& owner_;
    TfrmBackups* window_ = nullptr;  // a child of the owner
};

}  // namespace varno
