#include "editor/pages/oobcolumn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QVBoxLayout>

#include "editor/dialogs.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "mapview/maphost.h"
#include "scenario/ooblookup.h"
#include "scenario/scenario.h"
#include "scenario/selection.h"

namespace varno {

namespace {

// The longest order-of-battle line of the demo game: the column starts wide
// enough to show it whole.
const QString kWideUnitLine = QStringLiteral("390 1 I S 28th Yarrow Ford Sharpshooters");

TListBox* NewListBox(const char* name, QWidget* parent) {
    auto* box = new TListBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setUniformItemSizes(true);
    return box;
}

QLabel* NewLabel(const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

TOobColumn::TOobColumn(const PageContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pnlOob"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(NewLabel("Label1", QStringLiteral("Order of Battle"), this));
    lbUnits = NewListBox("lbUnits", this);
    // A line dragged onto the map places its entry there: the drag carries
    // the line's index, which is the entry's in OobList. A copy: the line stays.
    lbUnits->setDragEnabled(true);
    lbUnits->setDragDropMode(QAbstractItemView::DragOnly);
    lbUnits->setDefaultDropAction(Qt::CopyAction);
    lbUnits->DragData = [](int row) {
        auto* data = new QMimeData;
        data->setData(QLatin1String(kOobEntryMimeType), QByteArray::number(row));
        return data;
    };
    column->addWidget(lbUnits, 3);
    column->addWidget(NewLabel("Label2", QStringLiteral("Parent Units"), this));
    lbDesig = NewListBox("lbDesig", this);
    column->addWidget(lbDesig, 1);
    auto* dotRow = new QHBoxLayout;
    lbSide = NewLabel("lbSide", QStringLiteral("Union"), this);
    lbSide->setMinimumWidth(48);
    edDotName = new QLineEdit(QStringLiteral("1.1.1.1.1"), this);
    edDotName->setObjectName(QStringLiteral("edDotName"));
    edDotName->setToolTip(QStringLiteral("internal designation"));
    dotRow->addWidget(lbSide);
    dotRow->addWidget(edDotName, 1);
    column->addLayout(dotRow);
    auto* addRow = new QHBoxLayout;
    bnAdd = new QPushButton(QStringLiteral("&Add"), this);
    bnAdd->setObjectName(QStringLiteral("bnAdd"));
    bnRemove = new QPushButton(QStringLiteral("Re&move"), this);
    bnRemove->setObjectName(QStringLiteral("bnRemove"));
    addRow->addWidget(bnAdd);
    addRow->addWidget(bnRemove);
    column->addLayout(addRow);
}

int TOobColumn::WideLineWidth() const {
    return lbUnits->fontMetrics().horizontalAdvance(kWideUnitLine) + 2 * lbUnits->frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lbUnits) + 12;
}

const TOobRec* TOobColumn::SelectedEntry() const {
    const RecordList<TOobRec> oob = ctx_.scn().OobList();
    const int row = lbUnits->SelectedLine();
    if (row < 0 || row >= static_cast<int>(oob.size())) return nullptr;
    return oob[static_cast<std::size_t>(row)];
}

void TOobColumn::lbUnitsClick(QObject* Sender) {
    const Scenario& scn = ctx_.scn();
    if (lbUnits->count() == 0) return;
    if (Sender != edDotName) {
        const TOobRec* entry = SelectedEntry();
        if (!entry) return;
        ctx_.sel().Select(entry);
        // A change of the edit looks the name up at once and shows the entry
        // it finds, with its placement; unchanged text does nothing.
        edDotName->setText(Latin1(DotName(*entry)));
    }
    const TOobRec* cur = ctx_.sel().CurOob();
    if (!cur) return;
    lbSide->setText(cur->Side ? QStringLiteral("Union") : QStringLiteral("Confed"));

    lbDesig->clear();
    if (const int pos = OobIndex(scn, cur); pos >= 0) {
        ForEachParent(scn.OobList(), static_cast<std::size_t>(pos), scn.OobList().size(),
                      [this](const TOobRec* parent) {
                          auto* line = new QListWidgetItem(Latin1(parent->Display), lbDesig);
                          line->setData(Qt::UserRole, QVariant::fromValue(static_cast<const void*>(parent)));
                      });
    }

    if (Sender && cur->Setup && !showingPlacement_ && ShowPlacement) {
        const int index = IndexIn(scn.SetupList(), cur->Setup);
        if (index >= 0) ShowPlacement(index);
    }
}

void TOobColumn::lbDesigClick(QObject* /*Sender*/) {
    if (lbUnits->count() == 0) return;
    const int row = lbDesig->SelectedLine();
    if (row < 0) return;
    const auto* entry = static_cast<const TOobRec*>(lbDesig->item(row)->data(Qt::UserRole).value<const void*>());
    // A line left over from before a read names an entry that is gone.
    const int index = OobIndex(ctx_.scn(), entry);
    if (index < 0) return;
    lbUnits->SelectLine(index);
    lbUnitsClick(nullptr);
}

void TOobColumn::edDotNameChange(QObject* /*Sender*/) {
    const Scenario& scn = ctx_.scn();
    if (lbUnits->count() == 0) return;
    const QString text = edDotName->text();
    if (text.isEmpty() || text.endsWith(u'.')) return;  // still typing

    const QByteArray bytes = text.toLatin1();
    const DotKey key = ParseDotName(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (key[0] == 0) {
        ctx_.dialogs.Beep();
        ctx_.status(QStringLiteral("Invalid dot name"));
        edDotName->clear();
        return;
    }
    const TOobRec* found = scn.FindDotName(key);
    if (!found) {
        ctx_.dialogs.Beep();
        ctx_.status(QStringLiteral("Not found"));
        return;
    }
    ctx_.status(QString());
    ctx_.sel().Select(found);
    const int index = OobIndex(scn, found);
    if (index < 0) return;
    lbUnits->SelectLine(index);
    lbUnitsClick(edDotName);
}

void TOobColumn::SelectEntry(const TOobRec* entry, QObject* Sender) {
    const int index = OobIndex(ctx_.scn(), entry);
    if (index < 0) return;
    lbUnits->SelectLine(index);
    lbUnitsClick(Sender);
}

void TOobColumn::ShowEntryOfPlacement(const TOobRec* entry) {
    const int index = OobIndex(ctx_.scn(), entry);
    if (index < 0) return;
    const QScopedValueRollback guard(showingPlacement_, true);
    lbUnits->SelectLine(index);
    lbUnitsClick(nullptr);
}

}  // namespace varno
