#include "editor/releasespage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/listbox.h"
#include "editor/spinedit.h"
#include "scenario/ooblookup.h"
#include "scenario/scenario.h"

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
}

ReleaseFields TReleasesPage::Fields() const {
    // The chance is stored also while the field is disabled.
    return {date_.Values(), seChance->value()};
}

void TReleasesPage::StoreReleaseEdits() {
    Scenario& scn = ctx_.scn;
    if (lbReleases->SelectedLine() < 0 || !scn.CurRelease) return;
    StoreRelease(scn, scn.CurRelease, Fields(), ctx_.lines);
}

TReleaseRec* TReleasesPage::SelectRelease() {
    Scenario& scn = ctx_.scn;
    StoreReleaseEdits();
    const int row = lbReleases->SelectedLine();
    if (row < 0 || row >= static_cast<int>(scn.ReleaseList.size())) return nullptr;
    scn.CurRelease = scn.ReleaseList[row];
    const ReleaseFields f = FieldsOf(*scn.CurRelease);
    date_.Show(f.When);
    seChance->setValue(f.Chance);
    return scn.CurRelease;
}

bool TReleasesPage::Add(TOobRec* entry) {
    Scenario& scn = ctx_.scn;
    StoreReleaseEdits();
    scn.CurRelease = nullptr;
    if (!entry) return false;
    // A unit has one release: Add shows the one it has.
    TReleaseRec* rec = FindRelease(scn, entry);
    if (!rec) rec = AddRelease(scn, entry, date_.Values(), ctx_.lines);
    const auto& list = scn.ReleaseList;
    lbReleases->SelectLine(IndexIn(list, static_cast<const TReleaseRec*>(rec)));
    scn.CurRelease = nullptr;
    return true;
}

void TReleasesPage::Remove() {
    Scenario& scn = ctx_.scn;
    if (lbReleases->SelectedLine() < 0 || !scn.CurRelease) {
        ctx_.status(QStringLiteral("Please select a unit or leader"));
        return;
    }
    RemoveRelease(scn, scn.CurRelease, ctx_.lines);
    lbReleases->SelectNone();
}

}  // namespace varno
