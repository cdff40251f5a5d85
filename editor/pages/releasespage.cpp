#include "editor/pages/releasespage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/widgets/listbox.h"
#include "editor/widgets/spinedit.h"
#include "scenario/ooblookup.h"
#include "scenario/scenario.h"
#include "scenario/selection.h"

namespace varno {

TReleasesPage::TReleasesPage(const PageContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pgReleases"));
    auto* outer = new QVBoxLayout(this);
    lblEditing = NewEditingLabel(this);
    outer->addWidget(lblEditing);
    auto* grid = new QGridLayout;
    outer->addLayout(grid, 1);
    date_.Build("", this, grid, 0);
    seYear = date_.Year;
    seMonth = date_.Month;
    seDay = date_.Day;
    seHour = date_.Hour;
    seMin = date_.Min;
    seChance = new TSpinEdit("seChance", 5, 100, 5, 100, QStringLiteral("Chance that unit is released on time"), this);
    cbV103 = new QCheckBox(QStringLiteral("V 1.03"), this);
    cbV103->setObjectName(QStringLiteral("cbV103"));
    cbV103->setChecked(true);
    cbV103->setToolTip(QStringLiteral("if checked, disables %Chance"));
    grid->addWidget(new QLabel(QStringLiteral("% Chance"), this), 2, 0);
    grid->addWidget(seChance, 2, 1);
    grid->addWidget(cbV103, 2, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("List of releases"), this), 3, 0, 1, 4);
    lbReleases = new TListBox(this);
    lbReleases->setObjectName(QStringLiteral("lbReleases"));
    lbReleases->setUniformItemSizes(true);
    grid->addWidget(lbReleases, 4, 0, 1, 5);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(4, 1);
    mixed_ = new TMixedFields({seYear, seMonth, seDay, seHour, seMin, seChance}, {}, this);
}

ReleaseFields TReleasesPage::Fields() const {
    // The chance is stored also while the field is disabled.
    return {date_.Values(), seChance->value()};
}

void TReleasesPage::StoreReleaseEdits() {
    if (together_.Store(ctx_, *mixed_, Fields())) return;
    const TReleaseRec* cur = ctx_.sel().CurRelease();
    if (lbReleases->SelectedLine() < 0 || !cur) return;
    StoreRelease(ctx_.scn(), cur, Fields(), ctx_.lines, ctx_.step());
}

const TReleaseRec* TReleasesPage::SelectRelease() {
    StoreReleaseEdits();
    const RecordList<TReleaseRec> list = ctx_.scn().ReleaseList();
    const int row = lbReleases->SelectedLine();
    if (row < 0 || row >= static_cast<int>(list.size())) return nullptr;
    const TReleaseRec* rec = list[static_cast<std::size_t>(row)];
    ctx_.sel().Select(rec);
    together_.Forget(*mixed_);
    showFields(FieldsOf(*rec));
    return rec;
}

void TReleasesPage::showFields(const ReleaseFields& f) {
    date_.Show(f.When);
    seChance->setValue(f.Chance);
}

void TReleasesPage::ShowTogether() {
    together_.Show(ctx_, *mixed_, [this](const Shared<ReleaseFields>& shared) { showFields(shared.Values); });
}

bool TReleasesPage::Add(const TOobRec* entry) {
    StoreReleaseEdits();
    ctx_.sel().SelectNone<TReleaseRec>();
    if (!entry) return false;
    // A unit has one release: Add shows the one it has.
    const TReleaseRec* rec = FindRelease(ctx_.scn(), entry);
    if (!rec) rec = AddRelease(ctx_.scn(), entry, date_.Values(), ctx_.lines, ctx_.step());
    lbReleases->SelectLine(IndexIn(ctx_.scn().ReleaseList(), rec));
    return true;
}

void TReleasesPage::Remove() {
    const TReleaseRec* cur = ctx_.sel().CurRelease();
    if (lbReleases->SelectedLine() < 0 || !cur) {
        ctx_.status(QStringLiteral("Please select a unit or leader"));
        return;
    }
    RemoveRelease(ctx_.scn(), cur, ctx_.lines, ctx_.step());
    ctx_.sel().Remove(cur);
    lbReleases->SelectNone();
}

int TReleasesPage::CurrentLine() const { return IndexIn(ctx_.scn().ReleaseList(), ctx_.sel().CurRelease()); }

}  // namespace varno
