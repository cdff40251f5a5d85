#include "editor/pages/reinforcementspage.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/dialogs.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/spinedit.h"
#include "editor/widgets/textconv.h"
#include "scenario/editrules.h"
#include "scenario/ooblookup.h"
#include "scenario/scenario.h"
#include "scenario/selection.h"

namespace varno {

namespace {
const QString kSelectFirst = QStringLiteral("Please select a unit or leader");

}  // namespace

TReinforcementsPage::TReinforcementsPage(const PageContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pgReinfor"));
    auto* outer = new QVBoxLayout(this);
    lblEditing = NewEditingLabel(this);
    outer->addWidget(lblEditing);
    auto* grid = new QGridLayout;
    outer->addLayout(grid, 1);
    date_.Build("2", this, grid, 0);
    seYear2 = date_.Year;
    seMonth2 = date_.Month;
    seDay2 = date_.Day;
    seHour2 = date_.Hour;
    seMin2 = date_.Min;
    seChance2 = new TSpinEdit("seChance2", 5, 100, 5, 100, QStringLiteral("Chance that unit arrives on time"), this);
    grid->addWidget(new QLabel(QStringLiteral("%"), this), 1, 3);
    grid->addWidget(seChance2, 1, 4);
    seCol = new TSpinEdit("seCol", 0, 255, 1, 0, QStringLiteral("Column"), this);
    seRow = new TSpinEdit("seRow", 0, 255, 1, 0, QStringLiteral("Row"), this);
    seFace = new TSpinEdit("seFace", 1, 32, 1, 1, QStringLiteral("Facing"), this);
    seProt = new TSpinEdit("seProt", 0, 20, 1, 0, QStringLiteral("Protected hexes"), this);
    grid->addWidget(new QLabel(QStringLiteral("Col"), this), 2, 0);
    grid->addWidget(seCol, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Row"), this), 2, 2);
    grid->addWidget(seRow, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Facing"), this), 3, 0);
    grid->addWidget(seFace, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Prot. hexes"), this), 3, 2);
    grid->addWidget(seProt, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Groups of reinforcements"), this), 4, 0, 1, 5);
    lbReinfor = new TListBox(this);
    lbReinfor->setObjectName(QStringLiteral("lbReinfor"));
    lbReinfor->setUniformItemSizes(true);
    grid->addWidget(lbReinfor, 5, 0, 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("Units in above group"), this), 6, 0, 1, 5);
    lbReinUnits = new TListBox(this);
    lbReinUnits->setObjectName(QStringLiteral("lbReinUnits"));
    lbReinUnits->setUniformItemSizes(true);
    grid->addWidget(lbReinUnits, 7, 0, 1, 6);
    // A group holds up to ten units: eight show without scrolling.
    lbReinUnits->addItem(QStringLiteral("X"));
    const int row = lbReinUnits->sizeHintForRow(0), frame = 2 * lbReinUnits->frameWidth();
    lbReinUnits->setMinimumHeight(8 * row + frame);
    lbReinUnits->clear();
    // The groups' list may shrink to three lines, so that the page keeps
    // the window's designed height with its line of the record edited.
    lbReinfor->setMinimumHeight(3 * row + frame);
    grid->setRowStretch(5, 1);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(5, 1);
    mixed_ = new TMixedFields({seYear2, seMonth2, seDay2, seHour2, seMin2, seChance2, seCol, seRow, seFace, seProt}, {},
                              this);
}

GroupFields TReinforcementsPage::Fields() const {
    return {date_.Values(), seChance2->value(), seCol->value(), seRow->value(), seFace->value(), seProt->value()};
}

void TReinforcementsPage::StoreGroupEdits() {
    if (together_.Store(ctx_, *mixed_, Fields())) return;
    const TReinfGroup* cur = ctx_.sel().CurReinf();
    if (lbReinfor->SelectedLine() < 0 || !cur) return;
    StoreGroup(ctx_.scn(), cur, Fields(), ctx_.lines, ctx_.step());
}

void TReinforcementsPage::showFields(const GroupFields& f) {
    date_.Show(f.When);
    seChance2->setValue(f.Chance);
    seCol->setValue(f.Col);
    seRow->setValue(f.Row);
    seFace->setValue(f.Facing);
    seProt->setValue(f.ProtHexes);
}

void TReinforcementsPage::ShowTogether() {
    together_.Show(ctx_, *mixed_, [this](const Shared<GroupFields>& shared) {
        showFields(shared.Values);
        // The units of one group each: none listed for many.
        lbReinUnits->clear();
    });
}

const TReinfGroup* TReinforcementsPage::SelectGroup() {
    StoreGroupEdits();
    const Scenario& scn = ctx_.scn();
    const RecordList<TReinfGroup> list = scn.ReinfList();
    const int row = lbReinfor->SelectedLine();
    if (row < 0 || row >= static_cast<int>(list.size())) return nullptr;
    const TReinfGroup* g = list[static_cast<std::size_t>(row)];
    ctx_.sel().Select(g);
    together_.Forget(*mixed_);
    showFields(FieldsOf(*g));

    lbReinUnits->clear();
    if (g->Count > 1) {
        const int used = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int i = 0; i < used; ++i)
            if (OobIndex(scn, g->Units[i]) >= 0) lbReinUnits->addItem(Latin1(g->Units[i]->Display));
        lbReinUnits->SelectLine(0);
    }
    return g;
}

const TOobRec* TReinforcementsPage::SelectedUnit() const {
    const TReinfGroup* g = ctx_.sel().CurReinf();
    const int row = lbReinUnits->SelectedLine();
    if (!g || row < 0 || row >= g->Count || row >= static_cast<int>(g->Units.size())) return nullptr;
    return g->Units[row];
}

bool TReinforcementsPage::Add(const TOobRec* entry) {
    Scenario& scn = ctx_.scn();
    StoreGroupEdits();
    const RecordList<TReinfGroup> list = scn.ReinfList();
    const int row = lbReinfor->SelectedLine();
    const TReinfGroup* selected = row >= 0 && row < static_cast<int>(list.size()) ? list[row] : nullptr;
    bool intoSelected = false;
    switch (DecideReinfAdd(scn, entry, selected)) {
    case ReinfAddChoice::Refuse: return false;
    case ReinfAddChoice::ShowOwnGroup:
        // Add shows the group the entry is in.
        ctx_.sel().SelectNone<TReinfGroup>();
        lbReinfor->SelectLine(IndexIn(scn.ReinfList(), FindGroupOf(scn, entry)));
        return true;
    case ReinfAddChoice::NewGroup: break;
    case ReinfAddChoice::AskNewWhenFull:
        if (ctx_.dialogs.AskInformation(ctx_.window, QStringLiteral("Too many in selected group, create new one?"),
                                        Buttons::OkCancel) != Answer::Ok)
            return false;
        break;
    case ReinfAddChoice::AskJoin: {
        const Answer a = ctx_.dialogs.AskInformation(ctx_.window, QStringLiteral("Add to currently selected group?"),
                                                     Buttons::YesNoCancel);
        if (a == Answer::Cancel) return false;
        intoSelected = a == Answer::Yes;
        break;
    }
    }

    if (intoSelected) {
        if (!AddToGroup(scn, selected, entry, ctx_.lines, ctx_.step())) return false;
    } else {
        AddGroup(scn, entry, Fields(), ctx_.lines, ctx_.step());
        lbReinfor->SelectLine(static_cast<int>(scn.ReinfList().size()) - 1);
    }
    // Shown without the fields being stored into it first.
    ctx_.sel().SelectNone<TReinfGroup>();
    return true;
}

bool TReinforcementsPage::Remove() {
    Scenario& scn = ctx_.scn();
    const TReinfGroup* g = ctx_.sel().CurReinf();
    const int groupRow = lbReinfor->SelectedLine();
    const int unitRow = lbReinUnits->SelectedLine();
    if (!g || (groupRow < 0 && unitRow < 0)) {
        ctx_.status(kSelectFirst);
        return false;
    }
    if (g->Count <= 1) {
        const int index = IndexIn(scn.ReinfList(), g);
        RemoveGroup(scn, g, ctx_.lines, ctx_.step());
        ctx_.sel().Remove(g);
        lbReinfor->SelectNone();
        if (index > 0) lbReinfor->SelectLine(index - 1);
        return true;
    }
    // Of two or more units, the one to go must be chosen.
    if (unitRow < 0 || unitRow >= g->Count) {
        ctx_.status(kSelectFirst);
        return false;
    }
    RemoveGroupUnit(scn, g, unitRow, ctx_.lines, ctx_.step());
    return true;
}

int TReinforcementsPage::CurrentLine() const { return IndexIn(ctx_.scn().ReinfList(), ctx_.sel().CurReinf()); }

}  // namespace varno
