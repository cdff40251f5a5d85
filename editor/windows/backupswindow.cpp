#include "editor/windows/backupswindow.h"

#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

#include "editor/commands/backupshost.h"
#include "editor/dialogs.h"
#include "editor/document/scndocument.h"
#include "editor/reporterror.h"
#include "editor/widgets/textconv.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

enum Column { cFile, cTitle, cDate, cTime, cSize, cAdded, cRemoved, cChanged, cNote, cCount };

// Of a long first line, what the column shows.
constexpr int kTitleShown = 60;

const QString kComparing = QStringLiteral("comparing...");

}  // namespace

// What a worker shares with the window: the files to compare, its results
// as they come, and the word to stop.
struct TfrmBackups::Job {
    std::vector<std::pair<int, std::string>> Files;  // row, path
    std::unique_ptr<BackupComparer> Comparer;
    std::atomic<bool> Stop{false};
    std::atomic<bool> Done{false};
    std::atomic<int> Busy{0};  // how many files were begun
    std::mutex Lock;
    std::vector<std::pair<int, BackupComparison>> Results;  // under Lock

    void Run() {
        for (const auto& [row, path] : Files) {
            if (Stop) break;
            ++Busy;
            BackupComparison c = Comparer->Compare(path);
            const std::lock_guard<std::mutex> hold(Lock);
            Results.emplace_back(row, std::move(c));
        }
        Done = true;
    }
};

TfrmBackups::TfrmBackups(BackupsHost& host, QWidget* owner) : QWidget(owner, Qt::Window), host_(host) {
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(QStringLiteral("Backups"));
    lvFiles = new QTreeWidget(this);
    lvFiles->setObjectName(QStringLiteral("lvFiles"));
    lvFiles->setRootIsDecorated(false);
    lvFiles->setUniformRowHeights(true);
    lvFiles->setColumnCount(cCount);
    lvFiles->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Header line 1"), QStringLiteral("Date"),
                              QStringLiteral("Time"), QStringLiteral("Size"), QStringLiteral("Added"),
                              QStringLiteral("Removed"), QStringLiteral("Changed"), QStringLiteral("Note")});
    lbDiffs = new QListWidget(this);
    lbDiffs->setObjectName(QStringLiteral("lbDiffs"));
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    lbDiffs->setFont(fixed);
    bnRestore = new QPushButton(QStringLiteral("&Restore"), this);
    bnRestore->setObjectName(QStringLiteral("bnRestore"));
    bnRestore->setToolTip(QStringLiteral("Make the selected file's records the scenario (Save writes them)"));
    bnClose = new QPushButton(QStringLiteral("Close"), this);
    bnClose->setObjectName(QStringLiteral("bnClose"));
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, [this] { guarded([this] { collect(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblProgress, 1);
    buttons->addWidget(bnRestore);
    buttons->addWidget(bnClose);
    auto* layout = new QVBoxLayout(this);
    // Every scenario saved in the folder takes the next free number.
    auto* numbers = new QLabel(QStringLiteral("The backups' numbers belong to the folder, shared by all its scenarios: "
                                              "each file's first header line tells which scenario it holds."),
                               this);
    numbers->setObjectName(QStringLiteral("lblNumbers"));
    numbers->setWordWrap(true);
    layout->addWidget(numbers);
    layout->addWidget(lvFiles, 2);
    layout->addWidget(
        new QLabel(QStringLiteral("Changes from the selected file to the scenario in the editor:"), this));
    layout->addWidget(lbDiffs, 3);
    layout->addLayout(buttons);
    resize(860, 480);

    connect(lvFiles, &QTreeWidget::currentItemChanged, this,
            [this] { guarded([this] { ShowFile(lvFiles->indexOfTopLevelItem(lvFiles->currentItem())); }); });
    connect(lbDiffs, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { guarded([this, item] { DiffDoubleClick(lbDiffs->row(item)); }); });
    connect(bnRestore, &QPushButton::clicked, this, [this] { guarded([this] { bnRestoreClick(); }); });
    connect(bnClose, &QPushButton::clicked, this, &QWidget::close);
}

template <class F> void TfrmBackups::guarded(F&& handler) { ReportErrors(host_.BackupsDialogs(), this, handler); }

void TfrmBackups::Follow(const TScnDocument& doc) {
    connect(&doc, &TScnDocument::changed, this, [this](const DocChange& change) {
        if (isVisible() && (change.Whole || change.Cause == ChangeCause::Save))
            QTimer::singleShot(0, this, [this] { guarded([this] { Refresh(); }); });
    });
}

void TfrmBackups::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) guarded([this] { Refresh(); });
}

TfrmBackups::~TfrmBackups() {
    stopWorker();
    for (auto& [job, thread] : retired_) thread.join();
}

bool TfrmBackups::Comparing() const { return job_ != nullptr; }

void TfrmBackups::stopWorker() {
    // Workers stopped before and done by now are joined at once.
    std::erase_if(retired_, [](auto& r) {
        if (!r.first->Done) return false;
        r.second.join();
        return true;
    });
    if (!job_) return;
    // A worker ends after the file it is comparing; it is not waited for.
    job_->Stop = true;
    retired_.emplace_back(std::move(job_), std::move(worker_));
    poll_->stop();
}

void TfrmBackups::Refresh() {
    const int keep = lvFiles->indexOfTopLevelItem(lvFiles->currentItem());
    const std::string keepPath = keep >= 0 && keep < static_cast<int>(Files.size()) ? Files[keep].Path : std::string();
    const Scenario& current = host_.BackupsCurrentScenario();
    const std::string scnPath = host_.BackupsScenarioPath();
    std::vector<BackupFile> files = scnPath.empty() ? std::vector<BackupFile>() : ListBackups(scnPath);
    std::vector<FileStamp> stamps;
    for (const BackupFile& f : files) stamps.push_back(StampOf(f.Path));
    // The scenario as it is now, for the worker.
    auto job = std::make_shared<Job>();
    job->Comparer = std::make_unique<BackupComparer>(current);
    // The same files with the same scenario, still being compared: the
    // work goes on.
    if (job_ && job->Comparer->Version() == version_ && stamps == stamps_) return;
    stopWorker();
    Files = std::move(files);
    stamps_ = std::move(stamps);
    version_ = job->Comparer->Version();
    Comparisons.assign(Files.size(), BackupComparison{});
    pending_.assign(Files.size(), false);
    const QSignalBlocker quiet(lvFiles);
    lvFiles->clear();
    shownRow_ = -1;
    int select = Files.empty() ? -1 : 0;
    for (std::size_t i = 0; i < Files.size(); ++i) {
        const BackupFile& f = Files[i];
        // A file compared with this same scenario and unchanged since is not
        // read again.
        if (const auto at = kept_.find(f.Path);
            at != kept_.end() && at->second.Version == version_ && at->second.Stamp == stamps_[i]) {
            Comparisons[i] = at->second.Result;
        } else {
            pending_[i] = true;
            job->Files.emplace_back(static_cast<int>(i), f.Path);
        }
        const QDateTime when = QDateTime::fromSecsSinceEpoch(f.MTime);
        auto* row = new QTreeWidgetItem(lvFiles);
        row->setText(cFile, PathText(f.Name) + (f.IsScenario ? QStringLiteral(" (scenario)") : QString()));
        row->setText(cDate, when.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(cTime, when.toString(QStringLiteral("HH:mm:ss")));
        row->setText(cSize, QString::number(f.Size));
        for (int col : {cSize, cAdded, cRemoved, cChanged})
            row->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
        showComparison(static_cast<int>(i));
        if (f.Path == keepPath) select = lvFiles->topLevelItemCount() - 1;
    }
    for (int col = 0; col < cNote; ++col) lvFiles->resizeColumnToContents(col);
    if (select >= 0) lvFiles->setCurrentItem(lvFiles->topLevelItem(select));
    ShowFile(select);
    lblProgress->clear();
    if (job->Files.empty()) return;
    job_ = job;
    worker_ = std::thread([job] { job->Run(); });
    poll_->start();
    showProgress();
}

void TfrmBackups::collect() {
    if (!job_) return;
    // Done first: once it is set, every result is in.
    const bool done = job_->Done;
    std::vector<std::pair<int, BackupComparison>> results;
    {
        const std::lock_guard<std::mutex> hold(job_->Lock);
        results.swap(job_->Results);
    }
    for (auto& [row, c] : results) {
        const auto i = static_cast<std::size_t>(row);
        // Kept with the stamp the file had when it was listed.
        kept_[Files[i].Path] = Kept{stamps_[i], version_, c};
        Comparisons[i] = std::move(c);
        pending_[i] = false;
        showComparison(row);
        if (row == shownRow_) ShowFile(row);
    }
    if (done) {
        poll_->stop();
        worker_.join();
        job_.reset();
        lblProgress->clear();
        return;
    }
    showProgress();
}

void TfrmBackups::showProgress() {
    const std::size_t total = job_->Files.size();
    const std::size_t at = std::clamp<std::size_t>(static_cast<std::size_t>(job_->Busy.load()), 1, total);
    const BackupFile& f = Files[static_cast<std::size_t>(job_->Files[at - 1].first)];
    lblProgress->setText(QStringLiteral("Comparing %1 (%2 of %3)...").arg(PathText(f.Name)).arg(at).arg(total));
}

void TfrmBackups::showComparison(int i) {
    QTreeWidgetItem* row = lvFiles->topLevelItem(i);
    if (!row) return;
    for (int col : {cAdded, cRemoved, cChanged, cNote}) row->setText(col, QString());
    if (pending_[static_cast<std::size_t>(i)]) {
        row->setText(cNote, kComparing);
        return;
    }
    const BackupComparison& c = Comparisons[static_cast<std::size_t>(i)];
    const QString title = Latin1(c.FirstLine).trimmed();
    row->setText(cTitle, title.size() > kTitleShown ? title.left(kTitleShown) + QStringLiteral("...") : title);
    row->setToolTip(cTitle, title);
    if (c.Compared) {
        const DiffCounts n = CountDiff(c.Diff);
        row->setText(cAdded, QString::number(n.Added));
        row->setText(cRemoved, QString::number(n.Removed));
        row->setText(cChanged, QString::number(n.Changed));
        row->setText(cNote, c.Diff.Equal() ? (c.Diff.OrderDiffers ? QStringLiteral("same records, other order")
                                                                  : QStringLiteral("same"))
                                           : QString());
    } else {
        row->setText(cNote, MessageText(c.Reason));
    }
}

void TfrmBackups::ShowFile(int row) {
    shownRow_ = row;
    lbDiffs->clear();
    const bool valid = row >= 0 && row < static_cast<int>(Comparisons.size());
    bnRestore->setEnabled(valid && Comparisons[row].Compared);
    if (!valid) return;
    if (pending_[static_cast<std::size_t>(row)]) {
        lbDiffs->addItem(kComparing);
        return;
    }
    const BackupComparison& c = Comparisons[row];
    if (!c.Compared) {
        lbDiffs->addItem(QStringLiteral("Not a scenario of this game: ") + MessageText(c.Reason));
        return;
    }
    const std::vector<std::string> lines = DiffLines(c.Diff);
    if (lines.empty()) lbDiffs->addItem(QStringLiteral("No differences"));
    // The lines of the items come first, in the items' order (DiffLines puts
    // the note about the orders of battle before them).
    for (const std::string& line : lines) lbDiffs->addItem(Latin1(line));
}

void TfrmBackups::DiffDoubleClick(int line) {
    if (shownRow_ < 0 || shownRow_ >= static_cast<int>(Comparisons.size())) return;
    const ScnDiff& diff = Comparisons[shownRow_].Diff;
    const int at = line - (diff.OobDiffers ? 1 : 0);
    if (at < 0 || at >= static_cast<int>(diff.Items.size())) return;
    const DiffItem& item = diff.Items[at];
    // A removed placement is only in the backup: nothing to select.
    if (item.Kind != DiffKind::Placement || item.NewIndex < 0) {
        host_.BackupsDialogs().Beep();
        return;
    }
    host_.BackupsSelectPlacement(item.NewIndex);
}

void TfrmBackups::bnRestoreClick() {
    const int row = lvFiles->indexOfTopLevelItem(lvFiles->currentItem());
    if (row < 0 || row >= static_cast<int>(Files.size()) || !Comparisons[row].Compared) return;
    if (!host_.BackupsRestore(Files[row].Path)) return;
    Refresh();
}

}  // namespace varno
