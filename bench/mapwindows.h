#pragma once
// The main window with its map window, as the benchmarks of the windows set
// them up: every dialog answered without a word (errors counted), a
// scenario's path typed in and Read clicked.
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <stdexcept>

#include "editor/dialogs.h"
#include "editor/oobform.h"
#include "mapview/mapform.h"
#include "mapview/unitdlg.h"

namespace varno {

class QuietDialogs : public Dialogs {
public:
    int errors = 0;
    void ShowError(QWidget*, const QString&) override { ++errors; }
    void ShowMessage(QWidget*, const QString&) override {}
    bool ConfirmOkCancel(QWidget*, const QString&) override { return true; }
    Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::Yes; }
    Answer AskInformation(QWidget*, const QString&, Buttons) override { return Answer::Ok; }
    bool InputQuery(QWidget*, const QString&, const QString&, QString&) override { return false; }
    QString OpenFile(QWidget*, const OpenFileRequest&) override { return {}; }
    void Beep() override {}
};

struct MapWindows {
    QuietDialogs dialogs;
    TfrmMap map;
    TdlgChooseUnit chooser;
    TfrmEdit edit;
    QString scnPath;
    explicit MapWindows(const QString& scn) : edit(dialogs, &map), scnPath(scn) { map.SetChooseUnitDialog(&chooser); }
    // The path typed in (showing the window puts the last one used there) and
    // Read clicked, until every stack is drawn; throws when it reports an
    // error or draws no stack.
    void read() {
        edit.Ui().edScenarioPath->setText(scnPath);
        edit.bnReadClick(nullptr);
        QApplication::processEvents();
        if (dialogs.errors || map.Stacks().empty()) throw std::runtime_error("the read failed");
    }
};

}  // namespace varno
