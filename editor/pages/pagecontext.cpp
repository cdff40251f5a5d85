#include "editor/pages/pagecontext.h"

#include <QLabel>

#include "editor/document/scndocument.h"

namespace varno {

Scenario& PageContext::scn() const { return doc.Scn(); }
Selection& PageContext::sel() const { return doc.Sel(); }
EditStep& PageContext::step() const { return doc.Step(); }

QLabel* NewEditingLabel(QWidget* page) {
    auto* label = new QLabel(page);
    label->setObjectName(QStringLiteral("lblEditing"));
    label->setTextFormat(Qt::PlainText);
    // A long line is cut at the page's edge rather than widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return label;
}

}  // namespace varno
