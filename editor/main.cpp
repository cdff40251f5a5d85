// Varno, the scenario editor: starts the three windows and runs until the
// main window closes.
#include <QApplication>
#include <QTimer>
#include <iostream>

#include "editor/dialogs.h"
#include "editor/oobform.h"
#include "editor/settings/firststart.h"
#include "mapview/mapform.h"
#include "mapview/unitdlg.h"
#include "scenario/recoveryfolder.h"
#include "scenario/startoptions.h"

using namespace varno;

namespace {

const char* const kHelp = "Usage: varno [--help | --version]\n"
                          "Varno, the scenario editor of a two-sided hex-map war game: reads the game's\n"
                          "order of battle (MAIN.OOB) and a scenario (*.SCN), edits it, saves it.\n"
                          "Settings: $XDG_CONFIG_HOME/varno/VARNO.INI, else ~/.config/varno/VARNO.INI.\n"
                          "The first start copies the demo game to $XDG_DATA_HOME/varno/demo,\n"
                          "else ~/.local/share/varno/demo. More: man varno\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before the window system starts: no display needed.
    if (const std::optional<int> status = AnswerStartOptions(argc, argv, "varno " VARNO_VERSION, kHelp, std::cout))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varno"));
    QApplication::setApplicationVersion(QStringLiteral(VARNO_VERSION));
    // With no settings yet, the user gets their own copy of the demo game.
    FirstStart firstStart = FirstStart::ForThisProgram();
    if (firstStart.Run().isEmpty() && !firstStart.Error().isEmpty())
        qWarning("varno: %s", qPrintable(firstStart.Error()));

    QtDialogs dialogs;
    TfrmMap frmMap;
    TdlgChooseUnit dlgChooseUnit;
    TfrmEdit frmEdit(dialogs, &frmMap);
    frmMap.SetChooseUnitDialog(&dlgChooseUnit);
    // Closing the main window ends the program, whatever else is open.
    frmMap.setAttribute(Qt::WA_QuitOnClose, false);
    dlgChooseUnit.setAttribute(Qt::WA_QuitOnClose, false);

    // Unsaved changes survive a crash: a copy in the user's state folder,
    // offered back at the next start.
    frmEdit.KeepRecoveryCopies(RecoveryFolder(RecoveryFolder::DefaultPath()));
    frmEdit.show();
    QTimer::singleShot(0, &frmEdit, [&frmEdit] { frmEdit.OfferRecovery(); });
    return app.exec();
}
