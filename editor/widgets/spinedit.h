#pragma once
// A spin field: an integer field with a minimum, a maximum and a step for its
// buttons. Any text may be typed; text that is not a number reads as the
// minimum, and the value is brought into range (shown so when the field
// loses the focus, or when the program sets it).
#include <QSpinBox>

namespace varno {

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TSpinEdit(const char* name, int minimum, int maximum, int step, int designerValue, const QString& hint,
              QWidget* parent);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

}  // namespace varno
