#pragma once
// The File menu's commands on the scenario: Browse, Read (Open), New, Save,
// Save As and Recent, and the file's header lines. They ask through Dialogs, read and write through the
// document, and reach the window through FileHost.
#include <QString>
#include <string>
#include <vector>

#include "editor/dialogs.h"

class QMenu;
class QWidget;

namespace varno {

class EditListener;
class FileHost;
class TRecentMenu;
class TScnDocument;

class TFileCommands {
public:
    // `openDlg` is the window's open-file dialog request, whose initial
    // folder each Browse sets.
    TFileCommands(TScnDocument& doc, EditListener& lines, Dialogs& dialogs, FileHost& host, QWidget* window,
                  OpenFileRequest& openDlg, QMenu& recentMenu);

    void Browse();
    // Reads the path field's scenario; `ask`: the question about unsaved
    // changes first. `fresh`: an empty scenario under that name (New).
    void Read(bool fresh = false, bool ask = true);
    void Save();
    void SaveAs();
    void New();
    void OpenRecent(const std::string& path);
    // Edit > Scenario Header...: the nine header lines, editable; the
    // changed ones are stored as one step.
    void EditHeader();

    // True when nothing is unsaved or the user gives the changes up.
    bool MayDiscard();
    // The scenario's file: the document's; before any Read, the path given,
    // made absolute; empty when none.
    std::string ScenarioFile() const;
    // Reads the records of `backupPath` as the scenario under its own file,
    // as Read does (the question about unsaved changes first), marked
    // changed. False when the user keeps the changes. A file refused before
    // anything was read changes nothing; raises ScnError.
    bool Restore(const std::string& backupPath);

    // File > Recent's paths, newest first.
    const std::vector<std::string>& Recent() const;
    void SetRecent(std::vector<std::string> paths);

private:
    void saveTo(const std::string& path);
    // Save As's rules for `path`: beside the order of battle, and none of
    // the game's own files. Raises ScnError.
    void checkSaveAs(const std::string& path) const;
    void remember(const std::string& path);

    TScnDocument& doc_;
    EditListener& lines_;
    Dialogs& dialogs_;
    FileHost& host_;
    QWidget* window_;
    OpenFileRequest& openDlg_;
    TRecentMenu* recent_;
};

}  // namespace varno
