#include "unitdlg.h"

TdlgChooseUnit::TdlgChooseUnit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgChooseUnit"));
}
