#include "editor/pages/commandspage.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/widgets/listbox.h"
#include "editor/widgets/radiogroup.h"
#include "editor/widgets/spinedit.h"
#include "scenario/ooblookup.h"
#include "scenario/scenario.h"
#include "scenario/selection.h"

namespace varno {

TCommandsPage::TCommandsPage(const PageContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pgCommands"));
    auto* outer = new QVBoxLayout(this);
    lblEditing = NewEditingLabel(this);
    outer->addWidget(lblEditing);
    auto* grid = new QGridLayout;
    outer->addLayout(grid, 1);
    date_.Build("3", this, grid, 0);
    seYear3 = date_.Year;
    seMonth3 = date_.Month;
    seDay3 = date_.Day;
    seHour3 = date_.Hour;
    seMin3 = date_.Min;
    seGroup = new TSpinEdit("seGroup", 1, 8, 1, 1, QString(), this);
    grid->addWidget(new QLabel(QStringLiteral("Group"), this), 2, 0);
    grid->addWidget(seGroup, 2, 1);
    rgrpCommand = new TRadioGroup("rgrpCommand", QStringLiteral("Command:  "),
                                  {QStringLiteral("Defend - Extreme"), QStringLiteral("Defend"), QStringLiteral("Idle"),
                                   QStringLiteral("Attack"), QStringLiteral("Attack - Extreme")},
                                  2, this);
    seCol2 = new TSpinEdit("seCol2", 0, 255, 1, 0, QStringLiteral("Column"), this);
    seRow2 = new TSpinEdit("seRow2", 0, 255, 1, 0, QStringLiteral("Row"), this);
    grid->addWidget(new QLabel(QStringLiteral("At Hex Position"), this), 3, 0, 1, 2);
    grid->addWidget(seCol2, 3, 2);
    grid->addWidget(seRow2, 3, 3);
    grid->addWidget(rgrpCommand, 4, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Units with commands"), this), 5, 0, 1, 4);
    lbCommands = new TListBox(this);
    lbCommands->setObjectName(QStringLiteral("lbCommands"));
    lbCommands->setUniformItemSizes(true);
    grid->addWidget(lbCommands, 6, 0, 1, 5);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(4, 1);
    mixed_ =
        new TMixedFields({seYear3, seMonth3, seDay3, seHour3, seMin3, seGroup, seCol2, seRow2, rgrpCommand}, {}, this);
}

CommandFields TCommandsPage::Fields() const {
    return {date_.Values(), seGroup->value(), seCol2->value(), seRow2->value(), rgrpCommand->ItemIndex()};
}

void TCommandsPage::StoreCommandEdits() {
    if (together_.Store(ctx_, *mixed_, Fields())) return;
    const TCommandRec* cur = ctx_.sel().CurCommand();
    if (lbCommands->SelectedLine() < 0 || !cur) return;
    StoreCommand(ctx_.scn(), cur, Fields(), ctx_.lines, ctx_.step());
}

const TCommandRec* TCommandsPage::SelectCommand() {
    StoreCommandEdits();
    const RecordList<TCommandRec> list = ctx_.scn().CommandList();
    const int row = lbCommands->SelectedLine();
    if (row < 0 || row >= static_cast<int>(list.size())) return nullptr;
    const TCommandRec* rec = list[static_cast<std::size_t>(row)];
    ctx_.sel().Select(rec);
    together_.Forget(*mixed_);
    showFields(FieldsOf(*rec));
    return rec;
}

void TCommandsPage::showFields(const CommandFields& f) {
    date_.Show(f.When);
    seGroup->setValue(f.Group);
    seCol2->setValue(f.Col);
    seRow2->setValue(f.Row);
    // A command beyond the items (255 for none chosen) shows as the last item.
    rgrpCommand->SetItemIndex(std::min(f.Command, rgrpCommand->Count() - 1));
}

void TCommandsPage::ShowTogether() {
    together_.Show(ctx_, *mixed_, [this](const Shared<CommandFields>& shared) { showFields(shared.Values); });
}

bool TCommandsPage::Add(const TOobRec* entry) {
    StoreCommandEdits();
    if (!entry) return false;
    // An entry may have any number of commands.
    AddCommand(ctx_.scn(), entry, Fields(), ctx_.lines, ctx_.step());
    lbCommands->SelectLine(static_cast<int>(ctx_.scn().CommandList().size()) - 1);
    ctx_.sel().SelectNone<TCommandRec>();
    return true;
}

void TCommandsPage::Remove() {
    const TCommandRec* cur = ctx_.sel().CurCommand();
    if (lbCommands->SelectedLine() < 0 || !cur) {
        ctx_.status(QStringLiteral("Please select a unit or leader"));
        return;
    }
    RemoveCommand(ctx_.scn(), cur, ctx_.lines, ctx_.step());
    ctx_.sel().Remove(cur);
    lbCommands->SelectNone();
}

int TCommandsPage::CurrentLine() const { return IndexIn(ctx_.scn().CommandList(), ctx_.sel().CurCommand()); }

}  // namespace varno
