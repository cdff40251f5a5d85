#include "editor/backupswindow.h"

#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "editor/backupshost.h"
#include "editor/dialogs.h"
#include "editor/textconv.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

enum Column { cFile, cTitle, cDate, cTime, cSize, cAdded, cRemoved, cChanged, cNote, cCount };

// Of a long first line, what the column shows.
constexpr int kTitleShown = 60;

}  // namespace

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

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
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

template <class F> void TfrmBackups::guarded(F&& handler) {
    try {
        handler();
    } catch (const ScnError& e) {
        host_.BackupsDialogs().ShowError(this, MessageText(e.message()));
    } catch (const std::exception& e) {
        host_.BackupsDialogs().ShowError(this, MessageText(e.what()));
    }
}

void TfrmBackups::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) guarded([this] { Refresh(); });
}

void TfrmBackups::Refresh() {
    const int keep = lvFiles->indexOfTopLevelItem(lvFiles->currentItem());
    const std::string keepPath = keep >= 0 && keep < static_cast<int>(Files.size()) ? Files[keep].Path : std::string();
    const Scenario& current = host_.BackupsCurrentScenario();
    const std::string scnPath = host_.BackupsScenarioPath();
    Files = scnPath.empty() ? std::vector<BackupFile>() : ListBackups(scnPath);
    Comparisons.clear();
    const QSignalBlocker quiet(lvFiles);
    lvFiles->clear();
    shownRow_ = -1;
    int select = Files.empty() ? -1 : 0;
    for (const BackupFile& f : Files) {
        Comparisons.push_back(CompareBackup(f.Path, current));
        const BackupComparison& c = Comparisons.back();
        const QDateTime when = QDateTime::fromSecsSinceEpoch(f.MTime);
        auto* row = new QTreeWidgetItem(lvFiles);
        row->setText(cFile, PathText(f.Name) + (f.IsScenario ? QStringLiteral(" (scenario)") : QString()));
        const QString title = Latin1(c.FirstLine).trimmed();
        row->setText(cTitle, title.size() > kTitleShown ? title.left(kTitleShown) + QStringLiteral("...") : title);
        row->setToolTip(cTitle, title);
        row->setText(cDate, when.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(cTime, when.toString(QStringLiteral("HH:mm:ss")));
        row->setText(cSize, QString::number(f.Size));
        for (int col : {cSize, cAdded, cRemoved, cChanged})
            row->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
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
        if (f.Path == keepPath) select = lvFiles->topLevelItemCount() - 1;
    }
    for (int col = 0; col < cNote; ++col) lvFiles->resizeColumnToContents(col);
    if (select >= 0) lvFiles->setCurrentItem(lvFiles->topLevelItem(select));
    ShowFile(select);
}

void TfrmBackups::ShowFile(int row) {
    shownRow_ = row;
    lbDiffs->clear();
    const bool valid = row >= 0 && row < static_cast<int>(Comparisons.size());
    bnRestore->setEnabled(valid && Comparisons[row].Compared);
    if (!valid) return;
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
