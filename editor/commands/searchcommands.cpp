#include "editor/commands/searchcommands.h"

#include <QListWidget>
#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "editor/commands/searchhost.h"
#include "editor/dialogs.h"
#include "editor/pages/oobcolumn.h"
#include "editor/reporterror.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "editor/windows/checkview.h"
#include "editor/windows/listform.h"
#include "scenario/scenario.h"
#include "scenario/scnchecks.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"

namespace varno {

TSearchCommands::TSearchCommands(const PageContext& ctx, TOobColumn& column, SearchHost& host)
    : ctx_(ctx), column_(column), host_(host) {}

void TSearchCommands::mnuSynchOOBClick(QObject* /*Sender*/) {
    // What the user typed on the Set Units page goes in first; the page then
    // shows the synchronised record, so that no later store undoes the synch.
    host_.StoreSetupEdits();
    const std::size_t changed = SynchStrengths(ctx_.scn(), ctx_.lines, ctx_.step());
    host_.ReshowSelectedSetup();
    ctx_.status(QStringLiteral("Synch w/ OOB: %1 placements changed").arg(changed));
}

void TSearchCommands::mnuCheckScenarioClick(QObject* /*Sender*/) {
    TfrmList& list = host_.ListWindow();
    checkView().Run(list);
    list.MadeBy(remake([this] { mnuCheckScenarioClick(nullptr); }));
}

void TSearchCommands::CheckRecord(ScnListBox page, int index) {
    TfrmList& list = host_.ListWindow();
    checkView().RunFor(list, page, index);
    list.MadeBy(remake([this, page, index] { CheckRecord(page, index); }));
}

TCheckView& TSearchCommands::checkView() {
    TfrmList& list = host_.ListWindow();
    if (!checkView_) {
        checkView_ = new TCheckView(ctx_, host_, ctx_.window);
        // A slot of its own: no error crosses into the toolkit.
        QObject::connect(list.lbList, &QListWidget::itemDoubleClicked, checkView_, [this](QListWidgetItem* item) {
            ReportErrors(ctx_.dialogs, ctx_.window, [&] { checkView_->ShowFinding(item); });
        });
    }
    return *checkView_;
}

std::function<void()> TSearchCommands::remake(std::function<void()> command) {
    return [this, command = std::move(command)] { ReportErrors(ctx_.dialogs, ctx_.window, command); };
}

void TSearchCommands::mnuSearchUnitClick(QObject* /*Sender*/) {
    QString text;
    if (!ctx_.dialogs.InputQuery(ctx_.window, QStringLiteral("Search for Unit / Leader"), QStringLiteral("Name?"),
                                 text))
        return;
    text.truncate(255);
    const Scenario& scn = ctx_.scn();
    TListBox* lbUnits = column_.lbUnits;
    // The lines are Latin-1: a text with any other character is in none of them.
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    const QByteArray bytes = latin1 ? text.toLatin1() : QByteArray();
    const auto lines = std::min(static_cast<std::size_t>(lbUnits->count()), scn.OobList().size());
    // Nothing is repainted during the walk: of the lines it passes to the
    // status panel, only the last one is ever seen.
    int shown = -1;
    const int found = SearchOob(
        scn.OobList(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        [&shown](std::size_t line) { shown = static_cast<int>(line); }, lines);
    if (shown >= 0) ctx_.status(lbUnits->item(shown)->text());
    if (found < 0) return;
    lbUnits->SelectLine(found);
    column_.lbUnitsClick(nullptr);
}

void TSearchCommands::mnuSearchHexClick(QObject* /*Sender*/) {
    QString text;
    if (!ctx_.dialogs.InputQuery(ctx_.window, QStringLiteral("Search for Hex"), QStringLiteral("Hex (column,row)?"),
                                 text))
        return;
    const QByteArray typed = text.toUtf8();
    const std::optional<HexPos> hex = ParseHexText(std::string_view(typed.constData(), typed.size()));
    // Without a map grid, any hex a placement can hold.
    const std::optional<MapGrid> grid = host_.MapGridOfGame();
    if (!hex || !HexOnGrid(*hex, grid ? grid->NumCols : 256, grid ? grid->NumRows : 256)) {
        // Nothing left that tells of the hex found before.
        ctx_.status(QString());
        host_.ClearGoToHex();
        ctx_.dialogs.ShowError(ctx_.window, QStringLiteral("No such hex"));
        return;
    }
    const RecordList<TSetupRec> setups = ctx_.scn().SetupList();
    const auto first = std::find_if(setups.begin(), setups.end(),
                                    [&](const TSetupRec* s) { return s && s->Col == hex->Col && s->Row == hex->Row; });
    if (first != setups.end())
        host_.ClickLine(ScnListBox::SetUnits, static_cast<int>(first - setups.begin()));
    else
        ctx_.status(QStringLiteral("  Hex %1,%2: no placement").arg(hex->Col).arg(hex->Row));
    host_.GoToHex(hex->Col, hex->Row);
}

void TSearchCommands::mnuErrorCheckClick(QObject* /*Sender*/) {
    overloads_ = CheckOverloadedHexes(ctx_.scn().SetupList(), [this](std::size_t done, std::size_t count) {
        ctx_.status(QStringLiteral("%1 out of %2").arg(done).arg(count));
    });
    // Until the next check: each hex keeps its mark while it stays over-full.
    host_.MarkCheckedHexes(HexesOf(overloads_));
    if (!overloads_.empty()) {
        TfrmList& list = host_.ListWindow();
        if (!overloadClicks_) {
            overloadClicks_ = true;
            // A slot of its own: no error crosses into the toolkit.
            QObject::connect(list.lbList, &QListWidget::itemClicked, list.lbList, [this](QListWidgetItem* item) {
                ReportErrors(ctx_.dialogs, ctx_.window, [&] { overloadClicked(item); });
            });
        }
        QStringList lines;
        for (const HexFinding& f : overloads_) lines << Latin1(f.Text);
        list.lbList->clear();
        list.lbList->addItems(lines);
        list.setWindowTitle(QStringLiteral("Overfilled hexes"));
        list.MadeBy(remake([this] { mnuErrorCheckClick(nullptr); }));
        list.Restore();
        if (list.IsNormalState()) list.resize(200, 300);
        list.ShowList();
    } else if (TfrmList* shown = host_.ShownListWindow()) {
        shown->lbList->clear();
        shown->MadeBy(remake([this] { mnuErrorCheckClick(nullptr); }));
    }
    ctx_.status(QStringLiteral("  Done"));
}

void TSearchCommands::overloadClicked(QListWidgetItem* item) {
    TfrmList* list = host_.ShownListWindow();
    if (!list || !item || list->windowTitle() != QStringLiteral("Overfilled hexes")) return;
    // Only while the list shows this check's findings.
    const int row = list->lbList->row(item);
    if (row < 0 || row >= static_cast<int>(overloads_.size())) return;
    const HexFinding& f = overloads_[static_cast<std::size_t>(row)];
    if (item->text() != Latin1(f.Text)) return;
    host_.CentreMapOn(f.Col, f.Row);
}

void TSearchCommands::mnuStrengthSCNClick(QObject* /*Sender*/) { ShowStrength(true); }

void TSearchCommands::mnuStrengthOOBClick(QObject* /*Sender*/) { ShowStrength(false); }

void TSearchCommands::ShowStrength(bool FromScenario) {
    TfrmList& list = host_.ListWindow();
    list.lbList->clear();
    list.setWindowTitle(Latin1(StrengthCaption(FromScenario)));
    QStringList lines;
    // Only the entries the order-of-battle list shows: a failed read may
    // have left one more in the list.
    for (const std::string& line :
         StrengthLines(ctx_.scn().OobList(), FromScenario, static_cast<std::size_t>(column_.lbUnits->count())))
        lines << Latin1(line);
    list.lbList->addItems(lines);
    list.MadeBy(remake([this, FromScenario] { ShowStrength(FromScenario); }));
    list.Restore();
    if (list.IsNormalState() && list.height() < 500) list.resize(400, 500);
    list.ShowList();
}

}  // namespace varno
