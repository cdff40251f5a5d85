#include "editor/widgets/radiogroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

namespace varno {

TRadioGroup::TRadioGroup(const char* name, const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    setObjectName(QLatin1String(name));
    auto* layout = new QGridLayout(this);
    layout->setVerticalSpacing(0);
    const int count = static_cast<int>(items.size());
    const int rows = (count + std::max(columns, 1) - 1) / std::max(columns, 1);
    for (int i = 0; i < count; ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QLatin1String(name) + QString::number(i));
        buttons_->addButton(b, i);
        layout->addWidget(b, i % rows, i / rows);
    }
}

int TRadioGroup::ItemIndex() const { return buttons_->checkedId(); }

int TRadioGroup::Count() const { return static_cast<int>(buttons_->buttons().size()); }

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* b = buttons_->button(index)) {
        b->setChecked(true);
        return;
    }
    // An exclusive group lets no button be unchecked while it is exclusive.
    buttons_->setExclusive(false);
    for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
    buttons_->setExclusive(true);
}

}  // namespace varno
