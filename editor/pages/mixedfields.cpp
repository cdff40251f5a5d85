#include "editor/pages/mixedfields.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <utility>

#include "editor/pages/setunitspage.h"
#include "editor/widgets/radiogroup.h"

namespace varno {

namespace {
// What a spin field shows at its blank value.
const QString kBlank = QStringLiteral(" ");
}  // namespace

TMixedFields::TMixedFields(std::vector<QWidget*> fields, QList<QCheckBox*> boxes, QObject* parent)
    : QObject(parent), fields_(std::move(fields)), boxes_(std::move(boxes)) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        QWidget* w = fields_[i];
        auto touch = [this, i] {
            if (!showing_) touched(i);
        };
        if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            connect(spin, &QSpinBox::valueChanged, this, touch);
            // Typing the very value the blank stands for is a change too.
            if (auto* text = spin->findChild<QLineEdit*>()) connect(text, &QLineEdit::textEdited, this, touch);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textEdited, this, touch);
        } else if (w) {
            for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
                connect(b, &QAbstractButton::clicked, this, touch);
        }
    }
    // A click on a partly checked box decides it: checked, then as usual.
    for (QCheckBox* box : boxes_)
        connect(box, &QCheckBox::clicked, this, [box] {
            if (box->isTristate()) box->setTristate(false);
        });
}

void TMixedFields::Blank(std::uint32_t fields, std::uint32_t flags) {
    const bool before = std::exchange(showing_, true);
    blank_ = 0;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (!(fields & (std::uint32_t{1} << i))) continue;
        QWidget* w = fields_[i];
        if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            spin->setSpecialValueText(kBlank);
            spin->setValue(spin->minimum());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(QString());
        } else if (auto* group = qobject_cast<TRadioGroup*>(w)) {
            group->SetItemIndex(-1);
        }
        blank_ |= std::uint32_t{1} << i;
    }
    for (QCheckBox* box : boxes_) {
        const auto bit = static_cast<std::uint32_t>(box->property(kFlagTag).toInt());
        box->setTristate(false);
        if (flags & bit) {
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
        }
    }
    showing_ = before;
}

void TMixedFields::Clear() {
    const bool before = std::exchange(showing_, true);
    for (QWidget* w : fields_)
        if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->setSpecialValueText(QString());
    for (QCheckBox* box : boxes_) box->setTristate(false);
    blank_ = 0;
    showing_ = before;
}

std::uint32_t TMixedFields::StillMixedFlags() const {
    std::uint32_t flags = 0;
    for (const QCheckBox* box : boxes_)
        if (box->checkState() == Qt::PartiallyChecked)
            flags |= static_cast<std::uint32_t>(box->property(kFlagTag).toInt());
    return flags;
}

void TMixedFields::touched(std::size_t field) {
    const std::uint32_t bit = std::uint32_t{1} << field;
    if (!(blank_ & bit)) return;
    blank_ &= ~bit;
    // The field shows its value from now on, also the spin's lowest.
    if (auto* spin = qobject_cast<QSpinBox*>(fields_[field])) spin->setSpecialValueText(QString());
}

}  // namespace varno
