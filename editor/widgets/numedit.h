#pragma once
// A number edit: a line edit that holds an integer value beside its text.
// The value is re-read from the text when the edit loses the focus, and on
// every change of the text when asked to; text that is not an integer keeps
// the last good value and is reported through invalidText. While typing (the
// edit has the focus), an unfinished number ("", "-", "$") keeps the value
// and is not reported.
#include <QLineEdit>
#include <cstdint>

namespace varno {

class TNumEdit : public QLineEdit {
    Q_OBJECT
public:
    TNumEdit(const char* name, const QString& designerText, bool rereadOnChange, QWidget* parent);

    std::int32_t Value() const { return value_; }
    // Reads the value from the text now.
    void Reread();

signals:
    // The text is not an integer; the message names it.
    void invalidText(const QString& message);

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    std::int32_t value_ = 0;
};

}  // namespace varno
