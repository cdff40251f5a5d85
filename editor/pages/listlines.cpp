#include "editor/pages/listlines.h"

#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"

namespace varno {

void TListLines::SetBox(ScnListBox which, TListBox* box) { boxes_[static_cast<std::size_t>(which)] = box; }

void TListLines::listCleared(ScnListBox which) {
    box(which)->clear();
    changed();
}

void TListLines::lineAdded(ScnListBox which, std::string_view line) {
    box(which)->addItem(Latin1(line));
    changed();
}

void TListLines::lineRemoved(ScnListBox which, int index) {
    delete box(which)->takeItem(index);
    changed();
}

void TListLines::lineChanged(ScnListBox which, int index, std::string_view text) {
    if (QListWidgetItem* line = box(which)->item(index)) line->setText(Latin1(text));
    changed();
}

void TListLines::recordChanged(ScnListBox, int) { changed(); }

void TListLines::lineInserted(ScnListBox which, int index, std::string_view text) {
    // The selection stays on its record: a line put in above it moves it down
    // with its record, and the new line is not selected.
    box(which)->insertItem(index, Latin1(text));
    changed();
}

void TListLines::headerChanged() { changed(); }

}  // namespace varno
