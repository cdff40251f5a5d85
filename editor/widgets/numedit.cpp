#include "editor/widgets/numedit.h"

#include <QFocusEvent>

#include "editor/widgets/intedit.h"

namespace varno {

TNumEdit::TNumEdit(const char* name, const QString& designerText, bool rereadOnChange, QWidget* parent)
    : QLineEdit(designerText, parent) {
    setObjectName(QLatin1String(name));
    Reread();
    if (rereadOnChange)
        connect(this, &QLineEdit::textChanged, this, [this](const QString& typed) {
            // Text set by the program (empty for "none") is read at once.
            if (!hasFocus() || !IsUnfinishedIntText(typed.toLatin1().toStdString())) Reread();
        });
}

void TNumEdit::Reread() {
    const QByteArray bytes = text().toLatin1();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::int32_t v = 0;
    if (ParseIntText(view, v)) {
        value_ = v;
    } else {
        // Named as typed, whatever its characters.
        const QByteArray typed = text().toUtf8();
        emit invalidText(QString::fromUtf8(NotAnIntegerMessage(std::string_view(typed.constData(), typed.size()))));
    }
}

void TNumEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A box or menu opening over the window is no leaving of the edit: the
    // error box this edit opens would otherwise report the text again.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    Reread();
}

}  // namespace varno
