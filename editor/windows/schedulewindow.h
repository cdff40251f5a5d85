#pragma once
// The Schedule window (View > Schedule): the picture of each side's strength
// over time, a status line that tells what lies under the pointer, and
// File > Export Picture (PNG or SVG).
#include <QMainWindow>
#include <functional>

#include "scenario/scnschedule.h"

class QAction;
class QLabel;

namespace varno {

class Dialogs;
class Scenario;
class TScnDocument;
class ScheduleView;

class TfrmSchedule : public QMainWindow {
    Q_OBJECT
public:
    // `select` shows a record on its page of the main window.
    using SelectRecord = std::function<void(ScheduleEventKind kind, int index)>;
    TfrmSchedule(const Scenario& scn, Dialogs& dialogs, SelectRecord select, QWidget* parent = nullptr);

    // The scenario changed: the picture is drawn again.
    void ScenarioChanged();
    // From now on every change of `doc`'s records draws the picture again.
    void Follow(const TScnDocument& doc);
    // Writes the picture at the view's size: SVG when the name ends in
    // ".svg" (any case), else PNG. Replaces the file only when complete.
    // Throws ScnError when it cannot.
    void ExportPicture(const QString& path);
    // File > Export Picture: asks for the file, then ExportPicture.
    void mnuExportClick();

    ScheduleView* View = nullptr;
    QLabel* Status = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuClose = nullptr;

private:
    Dialogs& dialogs_;
    SelectRecord select_;
};

}  // namespace varno
