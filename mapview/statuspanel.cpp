#include "mapview/statuspanel.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace varno {

TStatusPanel::TStatusPanel(const QString& text, QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    ShowText(text);
}

void TStatusPanel::ShowText(const QString& text) {
    setText(text);
    setToolTip(text);
}

QString TStatusPanel::ShownText() const {
    const int room = contentsRect().width() - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, room));
}

QSize TStatusPanel::sizeHint() const { return {0, QLabel::sizeHint().height()}; }

QSize TStatusPanel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void TStatusPanel::paintEvent(QPaintEvent* /*e*/) {
    QPainter p(this);
    drawFrame(&p);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                          ShownText(), foregroundRole());
}

}  // namespace varno
