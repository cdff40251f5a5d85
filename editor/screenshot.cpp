// Makes the README's picture of the main window: starts the windows as Varno
// does (settings from the usual place), presses Read, optionally types a dot
// name into the designation edit, and saves the main window as a PNG.
//
//   varno_screenshot OUT.png [DOTNAME]
//
// Questions are answered Cancel and errors go to stderr, so that nothing waits
// for a user; any error makes the exit status non-zero.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QThread>
#include <QToolButton>
#include <cstdio>

#include "editor/dialogs.h"
#include "editor/oobform.h"
#include "mapview/mapform.h"
#include "mapview/unitdlg.h"

using namespace varno;

namespace {

class UnattendedDialogs : public Dialogs {
public:
    int errors = 0;
    void ShowError(QWidget*, const QString& message) override { report("error", message); }
    void ShowMessage(QWidget*, const QString& message) override { report("message", message); }
    bool ConfirmOkCancel(QWidget*, const QString& question) override { return report("question", question), false; }
    Answer AskYesNoCancel(QWidget*, const QString& question) override {
        return report("question", question), Answer::Cancel;
    }
    Answer AskInformation(QWidget*, const QString& question, Buttons) override {
        return report("question", question), Answer::Cancel;
    }
    bool InputQuery(QWidget*, const QString&, const QString& prompt, QString&) override {
        return report("prompt", prompt), false;
    }
    QString OpenFile(QWidget*, const OpenFileRequest&) override { return report("open-file dialog", {}), QString(); }
    void Beep() override {}

private:
    void report(const char* what, const QString& text) {
        ++errors;
        std::fprintf(stderr, "varno_screenshot: unexpected %s: %s\n", what, qPrintable(text));
    }
};

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varno"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: varno_screenshot OUT.png [DOTNAME]\n");
        return 2;
    }

    // Read makes the game's folder the working directory.
    const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    UnattendedDialogs dialogs;
    TfrmMap frmMap;
    TdlgChooseUnit dlgChooseUnit;
    TfrmEdit frmEdit(dialogs, &frmMap);
    frmMap.SetChooseUnitDialog(&dlgChooseUnit);
    frmEdit.show();
    Settle();

    frmEdit.Ui().sbRead->click();
    if (argc > 2) frmEdit.Ui().edDotName->setText(QString::fromLocal8Bit(argv[2]));
    frmEdit.raise();
    frmEdit.activateWindow();
    Settle();

    if (!frmEdit.grab().save(out, "PNG")) {
        std::fprintf(stderr, "varno_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return dialogs.errors == 0 ? 0 : 1;
}
