// Varno, the scenario editor: starts the three windows and runs until the
// main window closes.
#include <QApplication>

#include "dialogs.h"
#include "mapform.h"
#include "oobform.h"
#include "unitdlg.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varno"));

    QtDialogs dialogs;
    TfrmMap frmMap;
    TdlgChooseUnit dlgChooseUnit;
    TfrmEdit frmEdit(dialogs, &frmMap);
    frmMap.dlgChooseUnit = &dlgChooseUnit;
    // Closing the main window ends the program, whatever else is open.
    frmMap.setAttribute(Qt::WA_QuitOnClose, false);
    dlgChooseUnit.setAttribute(Qt::WA_QuitOnClose, false);

    frmEdit.show();
    return app.exec();
}
