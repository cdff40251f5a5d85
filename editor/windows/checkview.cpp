#include "editor/windows/checkview.h"

#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>
#include <vector>

#include "editor/commands/searchhost.h"
#include "editor/widgets/textconv.h"
#include "editor/windows/listform.h"
#include "scenario/scncheckall.h"

namespace varno {

namespace {

// What a finding line keeps of its record: the list, the record itself (found
// again by identity, as the lists may have changed since the check), the
// entry it names and its hex.
constexpr int kListRole = Qt::UserRole;
constexpr int kRecordRole = Qt::UserRole + 1;
constexpr int kUnitRole = Qt::UserRole + 2;
constexpr int kHexRole = Qt::UserRole + 3;

const void* RecordOf(const Scenario& scn, const ScnFinding& f) {
    const auto at = [&f](const auto& list) -> const void* {
        return f.Index >= 0 && static_cast<std::size_t>(f.Index) < list.size() ? list[static_cast<std::size_t>(f.Index)]
                                                                               : nullptr;
    };
    switch (f.List) {
    case ScnListBox::SetUnits: return at(scn.SetupList());
    case ScnListBox::Reinfor: return at(scn.ReinfList());
    case ScnListBox::Releases: return at(scn.ReleaseList());
    case ScnListBox::Commands: return at(scn.CommandList());
    default: return nullptr;
    }
}

// The record's line in its list now, or -1.
template <class List> int LineOf(const List& list, const void* record) {
    const auto it = std::find(list.begin(), list.end(), record);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace

TCheckView::TCheckView(const PageContext& ctx, SearchHost& host, QObject* parent)
    : QObject(parent), ctx_(ctx), host_(host) {}

void TCheckView::Run(TfrmList& list) { run(list, std::nullopt); }

void TCheckView::RunFor(TfrmList& list, ScnListBox page, int index) { run(list, Record{page, index}); }

void TCheckView::run(TfrmList& list, std::optional<Record> record) {
    // What was typed on the pages is checked too: it goes into its records first.
    host_.StorePageEdits();
    const Scenario& scn = ctx_.scn();
    ScnCheckReport report = CheckScenario(scn, LoadCheckMap(scn.GameDir));
    if (record) report = FindingsOfRecord(scn, report, record->List, record->Index);

    QListWidget* box = list.lbList;
    box->clear();
    if (report.Findings.empty()) box->addItem(QStringLiteral("No findings"));
    if (!report.MapSkipped.empty()) box->addItem(MessageText(MapSkippedLine(report)));
    std::size_t k = kCheckKindCount;
    for (const ScnFinding& f : report.Findings) {
        const std::size_t kind = static_cast<std::size_t>(f.Kind);
        if (kind != k) {
            k = kind;
            const CheckKindInfo& info = KindInfo(f.Kind);
            box->addItem(QStringLiteral("%1 (%2%3): %4")
                             .arg(QLatin1String(info.Title), QLatin1String(info.Code),
                                  info.Warning ? QStringLiteral(", warning") : QString())
                             .arg(report.Counts[kind]));
        }
        QString text = QStringLiteral("  ");
        if (f.Unit)
            text += Latin1(DotName(*f.Unit)) + QStringLiteral("  ") + Latin1(f.Unit->Display) + QStringLiteral("  ");
        text += Latin1(f.Text);
        auto* item = new QListWidgetItem(text, box);
        item->setData(kListRole, static_cast<int>(f.List));
        item->setData(kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(RecordOf(scn, f))));
        item->setData(kUnitRole, QVariant::fromValue(reinterpret_cast<quintptr>(f.Unit)));
        item->setData(kHexRole, f.Col >= 0 ? QPoint(f.Col, f.Row) : QVariant());
    }
    list.setWindowTitle(record ? QStringLiteral("Check This Record") : QStringLiteral("Check Scenario"));
    list.Restore();
    // Wide enough for whole findings, as far as the screen allows.
    int wide = 0;
    for (int i = 0; i < box->count(); ++i)
        wide = std::max(wide, box->fontMetrics().horizontalAdvance(box->item(i)->text()));
    int width = std::max(560, wide + 40);
    if (const QScreen* s = list.screen()) width = std::min(width, s->availableGeometry().width() * 9 / 10);
    if (list.IsNormalState() && list.width() < width) list.resize(width, std::max(list.height(), 360));
    list.ShowList();
}

void TCheckView::ShowFinding(const QListWidgetItem* item) {
    if (!item || !item->data(kRecordRole).isValid()) return;
    const void* record = reinterpret_cast<const void*>(item->data(kRecordRole).value<quintptr>());
    const auto* unit = reinterpret_cast<const TOobRec*>(item->data(kUnitRole).value<quintptr>());
    const Scenario& scn = ctx_.scn();
    bool found = false;
    switch (static_cast<ScnListBox>(item->data(kListRole).toInt())) {
    case ScnListBox::SetUnits: found = host_.ClickLine(ScnListBox::SetUnits, LineOf(scn.SetupList(), record)); break;
    case ScnListBox::Reinfor:
        if (const int line = LineOf(scn.ReinfList(), record); host_.ClickLine(ScnListBox::Reinfor, line)) {
            found = true;
            // The unit the finding names, among the group's units.
            const TReinfGroup* g = scn.ReinfList()[static_cast<std::size_t>(line)];
            for (int slot = 0; slot < g->Count; ++slot) {
                if (g->Units[static_cast<std::size_t>(slot)] != unit) continue;
                host_.ClickLine(ScnListBox::ReinUnits, slot);
                break;
            }
        }
        break;
    case ScnListBox::Releases: found = host_.ClickLine(ScnListBox::Releases, LineOf(scn.ReleaseList(), record)); break;
    case ScnListBox::Commands: found = host_.ClickLine(ScnListBox::Commands, LineOf(scn.CommandList(), record)); break;
    default: break;
    }
    if (!found) {
        // Removed since the check ran.
        ctx_.status(QStringLiteral("No longer in the scenario: check again"));
        return;
    }
    // The hex in the middle of the map window, when it is open.
    if (const QVariant hex = item->data(kHexRole); hex.isValid())
        host_.CentreMapOn(hex.toPoint().x(), hex.toPoint().y());
}

}  // namespace varno
