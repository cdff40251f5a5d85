#pragma once
// File > Backups...: the scenario file and its OLDSCN<n>.TXT backups, each
// with its differences from the scenario as it is in the editor now; the
// differences of the selected one; Restore.
#include <QWidget>
#include <vector>

#include "scenario/scnbackups.h"

class QListWidget;
class QPushButton;
class QTreeWidget;

namespace varno {

class BackupsHost;

class TfrmBackups : public QWidget {
    Q_OBJECT
public:
    TfrmBackups(BackupsHost& host, QWidget* owner);

    // Lists the files again and compares each with the editor's scenario;
    // the file selected before stays selected.
    void Refresh();
    // Shows the differences of the file at `row` of lvFiles (none: nothing).
    void ShowFile(int row);
    // Double-click on a line of the differences: a placement that is in the
    // editor's scenario is selected there and shown on the map.
    void DiffDoubleClick(int line);
    // Restores the selected file.
    void bnRestoreClick();

    QTreeWidget* lvFiles = nullptr;
    QListWidget* lbDiffs = nullptr;
    QPushButton* bnRestore = nullptr;
    QPushButton* bnClose = nullptr;

    // The files listed, each with its comparison, in the rows' order.
    std::vector<BackupFile> Files;
    std::vector<BackupComparison> Comparisons;

protected:
    // Coming back to the window compares again: the editor's scenario may
    // have changed meanwhile.
    void changeEvent(QEvent* e) override;

private:
    template <class F> void guarded(F&& handler);

    BackupsHost& host_;
    int shownRow_ = -1;
};

}  // namespace varno
