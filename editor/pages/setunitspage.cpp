#include "editor/pages/setunitspage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/dialogs.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "scenario/editrules.h"
#include "scenario/ooblookup.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/selection.h"
#include "scenario/sharedfields.h"

namespace varno {

namespace {
const QString kSelectFirst = QStringLiteral("Please select a unit or leader");

QCheckBox* NewBox(const char* name, const QString& caption, QWidget* parent, const QString& hint = {}) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) box->setToolTip(hint);
    return box;
}

QCheckBox* FlagBox(const char* name, const QString& caption, std::uint32_t bit, QWidget* parent,
                   const QString& hint = {}) {
    QCheckBox* box = NewBox(name, caption, parent, hint);
    box->setProperty(kFlagTag, static_cast<int>(bit));
    return box;
}
}  // namespace

TSetUnitsPage::TSetUnitsPage(const PageContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pgSetUnits"));
    auto* layout = new QVBoxLayout(this);

    auto* defaults = new QHBoxLayout;
    defaults->addWidget(new QLabel(QStringLiteral("Defaults:"), this));
    cbDefMounted = NewBox("cbDefMounted", QStringLiteral("Mnt/Col"), this);
    cbDefFixed = NewBox("cbDefFixed", QStringLiteral("Fixed"), this);
    edDefFace = new TNumEdit("edDefFace", QStringLiteral("1"), false, this);
    defaults->addWidget(cbDefMounted);
    defaults->addWidget(cbDefFixed);
    defaults->addWidget(edDefFace);
    defaults->addWidget(new QLabel(QStringLiteral("Def Facing"), this));
    defaults->addStretch(1);
    layout->addLayout(defaults);
    lblEditing = NewEditingLabel(this);
    layout->addWidget(lblEditing);

    auto* values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Col      Row"), this), 0, 0, 1, 2);
    values->addWidget(new QLabel(QStringLiteral(" Stren    Face  Fatigue"), this), 0, 2, 1, 3);
    edCol = new TNumEdit("edCol", QStringLiteral("0"), true, this);
    edRow = new TNumEdit("edRow", QStringLiteral("0"), true, this);
    edStrength = new TNumEdit("edStrength", QStringLiteral("1"), true, this);
    edFace = new TNumEdit("edFace", QStringLiteral("1"), true, this);
    edFatigue = new TNumEdit("edFatigue", QStringLiteral("0"), true, this);
    int column = 0;
    for (TNumEdit* e : {edCol, edRow, edStrength, edFace, edFatigue}) {
        e->setMaximumWidth(56);
        values->addWidget(e, 1, column++);
    }
    values->setColumnStretch(5, 1);
    layout->addLayout(values);

    auto* flags = new QGridLayout;
    cbFixed = FlagBox("cbFixed", QStringLiteral("Fixed"), sfFixed, this, QStringLiteral("cannot move until released"));
    cbLowAmmo = FlagBox("cbLowAmmo", QStringLiteral("Low ammo"), sfLowAmmo, this);
    cbNoAmmo = FlagBox("cbNoAmmo", QStringLiteral("No ammo"), sfNoAmmo, this);
    cbDisorg = FlagBox("cbDisorg", QStringLiteral("Disorganzd"), sfDisorg, this);
    cbRouted = FlagBox("cbRouted", QStringLiteral("Routed"), sfRouted, this);
    cbMounted = FlagBox("cbMounted", QStringLiteral("Mounted/Column"), sfMounted, this);
    cbDismounted = FlagBox("cbDismounted", QStringLiteral("Dismounting?"), sfDismounted, this);
    cbColonel =
        FlagBox("cbColonel", QStringLiteral("Colonel"), sfColonel, this, QStringLiteral("leader has been wounded"));
    QCheckBox* const order[] = {cbFixed, cbLowAmmo, cbNoAmmo, cbDisorg, cbRouted, cbMounted, cbDismounted, cbColonel};
    for (int i = 0; i < 8; ++i) flags->addWidget(order[i], i % 4, i / 4);
    flags->setColumnStretch(2, 1);
    layout->addLayout(flags);

    layout->addWidget(new QLabel(QStringLiteral("List of units that start scenario on map."), this));
    lbSetUnits = new TListBox(this);
    lbSetUnits->setObjectName(QStringLiteral("lbSetUnits"));
    lbSetUnits->setUniformItemSizes(true);
    layout->addWidget(lbSetUnits, 1);

    for (TNumEdit* e : {edCol, edRow, edStrength, edFace, edFatigue, edDefFace})
        connect(e, &TNumEdit::invalidText, this,
                [this](const QString& message) { ctx_.dialogs.ShowError(ctx_.window, message); });
    mixed_ =
        new TMixedFields({edCol, edRow, edStrength, edFace, edFatigue},
                         {cbFixed, cbLowAmmo, cbNoAmmo, cbDisorg, cbRouted, cbMounted, cbDismounted, cbColonel}, this);
}

QList<QCheckBox*> TSetUnitsPage::flagBoxes() const {
    QList<QCheckBox*> out;
    const QWidget* owner = ctx_.window ? ctx_.window : this;
    for (QCheckBox* box : owner->findChildren<QCheckBox*>())
        if (box->property(kFlagTag).toInt() > 0) out << box;
    return out;
}

std::uint32_t TSetUnitsPage::CollectFlags() const {
    std::uint32_t flags = 0;
    for (const QCheckBox* box : flagBoxes())
        if (box->isChecked()) flags |= static_cast<std::uint32_t>(box->property(kFlagTag).toInt());
    return flags;
}

void TSetUnitsPage::ShowFlags(std::uint32_t flags) {
    for (QCheckBox* box : flagBoxes())
        box->setChecked((flags & static_cast<std::uint32_t>(box->property(kFlagTag).toInt())) != 0);
}

SetupFields TSetUnitsPage::Fields() const {
    return {edCol->Value(), edRow->Value(), edStrength->Value(), edFace->Value(), edFatigue->Value(), CollectFlags()};
}

void TSetUnitsPage::StoreSetupEdits() {
    if (together_.Store(ctx_, *mixed_, Fields())) return;
    const TSetupRec* cur = ctx_.sel().CurSetup();
    if (lbSetUnits->SelectedLine() < 0 || !cur) return;
    StoreSetup(ctx_.scn(), cur, Fields(), ctx_.lines, ctx_.step());
}

const TSetupRec* TSetUnitsPage::SelectSetup() {
    StoreSetupEdits();
    const RecordList<TSetupRec> list = ctx_.scn().SetupList();
    const int row = lbSetUnits->SelectedLine();
    if (row < 0 || row >= static_cast<int>(list.size())) return nullptr;
    ctx_.sel().Select(list[static_cast<std::size_t>(row)]);
    ShowSetup();
    return list[static_cast<std::size_t>(row)];
}

void TSetUnitsPage::ShowHex() {
    const TSetupRec* rec = ctx_.sel().CurSetup();
    if (!rec) return;
    edCol->setText(QString::number(rec->Col));
    edRow->setText(QString::number(rec->Row));
}

void TSetUnitsPage::ShowSetup() {
    const TSetupRec* rec = ctx_.sel().CurSetup();
    if (!rec) return;
    together_.Forget(*mixed_);
    ctx_.sel().Select(rec->Unit);
    // The boxes and the fatigue this kind of entry may have.
    const SetupFieldRules rules = SetupRulesFor(rec->Unit ? rec->Unit->Kind : 0);
    showFields(FieldsOf(*rec), rules.Flags, rules.Fatigue);
}

void TSetUnitsPage::ShowTogether() {
    together_.Show(ctx_, *mixed_, [this](const Shared<SetupFields>& shared) {
        showFields(shared.Values, shared.FlagRules, !(shared.Absent & (1u << kFatigueField)));
    });
}

void TSetUnitsPage::showFields(const SetupFields& f, std::uint32_t rules, bool fatigue) {
    edCol->setText(QString::number(f.Col));
    edRow->setText(QString::number(f.Row));
    edFace->setText(QString::number(f.Facing));
    edStrength->setText(QString::number(f.Strength));
    for (QCheckBox* box : flagBoxes())
        box->setEnabled((rules & static_cast<std::uint32_t>(box->property(kFlagTag).toInt())) != 0);
    edFatigue->setText(fatigue ? QString::number(f.Fatigue) : QString());
    // Disabled boxes show their bit too.
    ShowFlags(f.Flags);
}

bool TSetUnitsPage::Add(const TOobRec* entry) {
    StoreSetupEdits();
    if (!entry || !CanPlace(*entry)) return false;
    if (!AddSetup(ctx_.scn(), entry, Defaults(), ctx_.lines, ctx_.step())) return false;
    lbSetUnits->SelectLine(static_cast<int>(ctx_.scn().SetupList().size()) - 1);
    // Shown without the edits being stored into it first.
    ctx_.sel().SelectNone<TSetupRec>();
    return true;
}

SetupDefaults TSetUnitsPage::Defaults() const {
    return {edDefFace->Value(), cbDefMounted->isChecked(), cbDefFixed->isChecked()};
}

void TSetUnitsPage::Remove() {
    const TSetupRec* cur = ctx_.sel().CurSetup();
    if (lbSetUnits->SelectedLine() < 0 || !cur) {
        ctx_.status(kSelectFirst);
        return;
    }
    // Its entry stays the one shown in the column.
    if (cur->Unit) ctx_.sel().Select(cur->Unit);
    RemoveSetup(ctx_.scn(), cur, ctx_.lines, ctx_.step());
    ctx_.sel().Remove(cur);
    lbSetUnits->SelectNone();
    // The icon stays on the map until it is redrawn.
    ctx_.status(QStringLiteral("Use Refresh Map when done removing units"));
}

int TSetUnitsPage::CurrentLine() const { return IndexIn(ctx_.scn().SetupList(), ctx_.sel().CurSetup()); }

}  // namespace varno
