#include "editor/windows/listform.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "editor/document/scndocument.h"
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

    lblOutOfDate = new QLabel(QStringLiteral("The scenario changed since this list was made."), this);
    lblOutOfDate->setObjectName(QStringLiteral("lblOutOfDate"));
    lblOutOfDate->setWordWrap(true);
    bnRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
    bnRefresh->setObjectName(QStringLiteral("bnRefresh"));
    auto* stale = new QHBoxLayout;
    stale->setContentsMargins(4, 2, 4, 2);
    stale->addWidget(lblOutOfDate, 1);
    stale->addWidget(bnRefresh);
    lblOutOfDate->hide();
    bnRefresh->hide();
    connect(bnRefresh, &QPushButton::clicked, this, [this] {
        if (remake_) remake_();  // the maker reports its own errors
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbList);
    layout->addLayout(stale);
}

void TfrmList::MadeBy(std::function<void()> remake) {
    remake_ = std::move(remake);
    lblOutOfDate->hide();
    bnRefresh->hide();
}

void TfrmList::ScenarioChanged() {
    if (!remake_ || lbList->count() == 0) return;
    lblOutOfDate->show();
    bnRefresh->show();
}

void TfrmList::Follow(const TScnDocument& doc) {
    connect(&doc, &TScnDocument::changed, this, [this](const DocChange& change) {
        if (change.Records()) ScenarioChanged();
    });
}

bool TfrmList::OutOfDate() const { return !lblOutOfDate->isHidden(); }

bool TfrmList::IsNormalState() const { return !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)); }

void TfrmList::Restore() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
}

void TfrmList::ShowList() { ShowToolWindow(*this, parentWidget() ? *parentWidget() : *this); }

}  // namespace varno
