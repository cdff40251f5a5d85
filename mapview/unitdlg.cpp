#include "mapview/unitdlg.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace varno {

TdlgChooseUnit::TdlgChooseUnit(QWidget* parent) : QDialog(parent, kFrameFlags) {
    setObjectName(QStringLiteral("dlgChooseUnit"));
    setWindowTitle(QStringLiteral("Choose Unit"));
    setFixedSize(227, 210);
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(11);
    setFont(bold);

    lbUnits = new QListWidget(this);
    lbUnits->setObjectName(QStringLiteral("lbUnits"));
    lbUnits->setFrameShape(QFrame::NoFrame);
    lbUnits->setGeometry(0, 0, 229, 160);
    lbUnits->setUniformItemSizes(true);
    lbUnits->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; }"));
    QPalette menu = lbUnits->palette();
    menu.setColor(QPalette::Base, palette().color(QPalette::Window));
    lbUnits->setPalette(menu);

    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 160, 235, 25);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("&All"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(0, 185, 235, 25);
    Button2->setEnabled(false);
    Button2->setAutoDefault(false);

    // Esc rejects a dialog of its own accord, as Cancel does.
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbUnits, &QListWidget::itemClicked, this, [this] { lbUnitsClick(); });
    connect(lbUnits, &QListWidget::itemActivated, this, [this] { lbUnitsClick(); });
}

int TdlgChooseUnit::ShowModal() { return exec(); }

void TdlgChooseUnit::lbUnitsClick() { accept(); }

void TdlgChooseUnit::PlaceAt(QPoint global) {
    anchor_ = global;
    move(global);
    keepOnScreen();
}

void TdlgChooseUnit::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    keepOnScreen();
}

void TdlgChooseUnit::keepOnScreen() {
    QScreen* screen = QGuiApplication::screenAt(anchor_);
    if (!screen) screen = this->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    QRect frame(anchor_, frameGeometry().size().expandedTo(size()));
    if (frame.bottom() > room.bottom()) frame.moveBottom(room.bottom());
    if (frame.right() > room.right()) frame.moveRight(room.right());
    if (frame.top() < room.top()) frame.moveTop(room.top());
    if (frame.left() < room.left()) frame.moveLeft(room.left());
    if (frame.topLeft() != pos()) move(frame.topLeft());
}

}  // namespace varno
