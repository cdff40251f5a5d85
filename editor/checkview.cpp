#include "checkview.h"

#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>
#include <vector>

#include "ScnCheckAll.h"
#include "commandspage.h"
#include "hexgeom.h"
#include "listbox.h"
#include "listform.h"
#include "mapform.h"
#include "oobform.h"
#include "reinforcementspage.h"
#include "releasespage.h"
#include "setunitspage.h"
#include "textconv.h"

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
    case ScnListBox::SetUnits: return at(scn.SetupList);
    case ScnListBox::Reinfor: return at(scn.ReinfList);
    case ScnListBox::Releases: return at(scn.ReleaseList);
    case ScnListBox::Commands: return at(scn.CommandList);
    default: return nullptr;
    }
}

// The record's line in its list now, or -1.
template <class List> int LineOf(const List& list, const void* record) {
    const auto it = std::find(list.begin(), list.end(), record);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace

TCheckView::TCheckView(TfrmEdit& form) : QObject(&form), form_(form) {}

void TCheckView::Run(TfrmList& list) {
    // What was typed on the pages is checked too: it goes into its records first.
    form_.StoreSetupEdits();
    form_.StoreReleaseEdits();
    form_.StoreGroupEdits();
    form_.StoreCommandEdits();
    const Scenario& scn = form_.Scn();
    const ScnCheckReport report = CheckScenario(scn, LoadCheckMap(scn.GameDir));

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
        if (f.Unit) text += Latin1(DotName(*f.Unit)) + QStringLiteral("  ") + Latin1(f.Unit->Display) + QStringLiteral("  ");
        text += Latin1(f.Text);
        auto* item = new QListWidgetItem(text, box);
        item->setData(kListRole, static_cast<int>(f.List));
        item->setData(kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(RecordOf(scn, f))));
        item->setData(kUnitRole, QVariant::fromValue(reinterpret_cast<quintptr>(f.Unit)));
        item->setData(kHexRole, f.Col >= 0 ? QPoint(f.Col, f.Row) : QVariant());
    }
    list.setWindowTitle(QStringLiteral("Check Scenario"));
    list.Restore();
    // Wide enough for whole findings, as far as the screen allows.
    int wide = 0;
    for (int i = 0; i < box->count(); ++i) wide = std::max(wide, box->fontMetrics().horizontalAdvance(box->item(i)->text()));
    int width = std::max(560, wide + 40);
    if (const QScreen* s = list.screen()) width = std::min(width, s->availableGeometry().width() * 9 / 10);
    if (list.IsNormalState() && list.width() < width) list.resize(width, std::max(list.height(), 360));
    list.ShowList();
}

void TCheckView::ShowFinding(const QListWidgetItem* item) {
    if (!item || !item->data(kRecordRole).isValid()) return;
    const void* record = reinterpret_cast<const void*>(item->data(kRecordRole).value<quintptr>());
    const auto* unit = reinterpret_cast<const TOobRec*>(item->data(kUnitRole).value<quintptr>());
    const Scenario& scn = form_.Scn();
    TfrmEdit& f = form_;
    bool found = false;
    switch (static_cast<ScnListBox>(item->data(kListRole).toInt())) {
    case ScnListBox::SetUnits:
        if (const int line = LineOf(scn.SetupList, record); line >= 0) {
            f.Notebook1->setCurrentWidget(f.pgSetUnits);
            f.lbSetUnits->SelectLine(line);
            f.lbSetUnitsClick(f.lbSetUnits);
            found = true;
        }
        break;
    case ScnListBox::Reinfor:
        if (const int line = LineOf(scn.ReinfList, record); line >= 0) {
            f.Notebook1->setCurrentWidget(f.pgReinfor);
            f.lbReinfor->SelectLine(line);
            f.lbReinforClick(f.lbReinfor);
            found = true;
            // The unit the finding names, among the group's units.
            const TReinfGroup* g = scn.ReinfList[static_cast<std::size_t>(line)];
            for (int slot = 0; slot < g->Count && slot < f.lbReinUnits->count(); ++slot) {
                if (g->Units[static_cast<std::size_t>(slot)] != unit) continue;
                f.lbReinUnits->SelectLine(slot);
                f.lbReinUnitsClick(f.lbReinUnits);
                break;
            }
        }
        break;
    case ScnListBox::Releases:
        if (const int line = LineOf(scn.ReleaseList, record); line >= 0) {
            f.Notebook1->setCurrentWidget(f.pgReleases);
            f.lbReleases->SelectLine(line);
            f.lbReleasesClick(f.lbReleases);
            found = true;
        }
        break;
    case ScnListBox::Commands:
        if (const int line = LineOf(scn.CommandList, record); line >= 0) {
            f.Notebook1->setCurrentWidget(f.pgCommands);
            f.lbCommands->SelectLine(line);
            f.lbCommandsClick(f.lbCommands);
            found = true;
        }
        break;
    default: break;
    }
    if (!found) {
        // Removed since the check ran.
        f.Status->setText(QStringLiteral("No longer in the scenario: check again"));
        return;
    }
    // The hex in the middle of the map window, when it is open.
    const QVariant hex = item->data(kHexRole);
    if (hex.isValid() && f.frmMap && f.frmMap->isVisible() && f.frmMap->Scroll1) {
        const PixelPos c = HexCentre(hex.toPoint().x(), hex.toPoint().y());
        const QSize view = f.frmMap->Scroll1->viewport()->size();
        f.frmMap->Scroll1->ensureVisible(c.X, c.Y, view.width() / 2, view.height() / 2);
    }
}
