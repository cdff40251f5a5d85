#include "editor/widgets/spinedit.h"

namespace varno {

TSpinEdit::TSpinEdit(const char* name, int minimum, int maximum, int step, int designerValue, const QString& hint,
                     QWidget* parent)
    : QSpinBox(parent) {
    setObjectName(QLatin1String(name));
    setRange(minimum, maximum);
    setSingleStep(step);
    setValue(designerValue);
    if (!hint.isEmpty()) setToolTip(hint);
}

QValidator::State TSpinEdit::validate(QString& /*text*/, int& /*pos*/) const {
    // Whatever is typed is read, not refused key by key.
    return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString& text) const {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : minimum();
}

}  // namespace varno
