#include "mapform.h"

TfrmMap::TfrmMap(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(QStringLiteral("Test"));
    // Designed bounds; the settings may move and size the window before it is shown.
    move(-3, 94);
    resize(600, 480);
}

void TfrmMap::Show() {
    show();
    raise();
}

void TfrmMap::ClearUnits() {
    // The map picture and its stack icons come with the map drawing.
}

void TfrmMap::DrawUnit(TSetupRec* /*rec*/, int /*col*/, int /*row*/) {
    // The map picture and its stack icons come with the map drawing.
}
