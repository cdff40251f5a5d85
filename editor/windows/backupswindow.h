#pragma once
// File > Backups...: the scenario file and its OLDSCN<n>.TXT backups, each
// with its differences from the scenario as it is in the editor now; the
// differences of the selected one; Restore.
#include <QWidget>
#include <map>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "scenario/filestamp.h"
#include "scenario/scnbackups.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace varno {

class BackupsHost;
class TScnDocument;

class TfrmBackups : public QWidget {
    Q_OBJECT
public:
    TfrmBackups(BackupsHost& host, QWidget* owner);
    ~TfrmBackups() override;

    // Lists the files again and compares each with the editor's scenario in
    // a thread of its own, the progress shown in lblProgress; a file whose
    // stamp is unchanged since it was compared with the same scenario keeps
    // its comparison. The file selected before stays selected.
    void Refresh();
    // From now on a Save of `doc` (a backup more) or a Read or Restore
    // (another file's backups) lists the files again while the window is
    // on the screen, once the change is told.
    void Follow(const TScnDocument& doc);
    // True while files are being compared.
    bool Comparing() const;
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
    QLabel* lblProgress = nullptr;

    // The files listed, each with its comparison, in the rows' order.
    std::vector<BackupFile> Files;
    std::vector<BackupComparison> Comparisons;

protected:
    // Coming back to the window compares again: the editor's scenario may
    // have changed meanwhile.
    void changeEvent(QEvent* e) override;

private:
    template <class F> void guarded(F&& handler);
    // Shows the comparison of row `row` in its cells.
    void showComparison(int row);
    // Takes the results the worker has so far (the timer's tick).
    void collect();
    // "Comparing <name> (<k> of <n>)...".
    void showProgress();
    void stopWorker();

    struct Job;
    // A comparison is kept with the file's stamp and the scenario's version.
    struct Kept {
        FileStamp Stamp;
        std::uint64_t Version = 0;
        BackupComparison Result;
    };

    BackupsHost& host_;
    int shownRow_ = -1;
    std::vector<FileStamp> stamps_;  // per row: the file's stamp when listed
    std::vector<bool> pending_;      // per row: not compared yet
    std::map<std::string, Kept> kept_;
    std::uint64_t version_ = 0;  // of the scenario the rows are compared with
    std::shared_ptr<Job> job_;   // the work under way, if any
    std::thread worker_;
    // Stopped workers, each ending after its file; joined once done.
    std::vector<std::pair<std::shared_ptr<Job>, std::thread>> retired_;
    QTimer* poll_ = nullptr;
};

}  // namespace varno
