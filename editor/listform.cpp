#include "editor/listform.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "mapview/windowfit.h"

namespace varno {

namespace {

// Every line of the list is 16 pixels high, whatever the font asks for.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(16);
        return size;
    }
};

}  // namespace

TfrmList::TfrmList(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(QStringLiteral("List"));
    resize(235, 265);

    lbList = new QListWidget(this);
    lbList->setObjectName(QStringLiteral("lbList"));
    // The strength lists line their totals up in columns.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family(), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    lbList->setFont(font);
    lbList->setItemDelegate(new FixedRowDelegate(lbList));
    lbList->setUniformItemSizes(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbList);
}

bool TfrmList::IsNormalState() const { return !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)); }

void TfrmList::Restore() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
}

void TfrmList::ShowList() { ShowToolWindow(*this, parentWidget() ? *parentWidget() : *this); }

}  // namespace varno
