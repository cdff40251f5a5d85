#pragma once
// The dispatch between the order-of-battle column, the notebook's pages and
// the map: Add and Remove go to the current page; a click on a page's list
// shows its record (and its entry in the column); after an undo or redo the
// pages show their current records again; each page's line names the record
// its fields belong to.
//
// Who started a selection: every handler takes Sender, the control the user
// worked (or the window, for a selection the window makes as the user's),
// and nullptr when program code calls it.
// - Lines are selected by program code with TListBox::SelectLine, which
//   starts no handler; the code then calls the handler with nullptr.
// - A list of a page, clicked (Sender set): its record's entry is shown in
//   the order-of-battle column (TOobColumn::SelectEntry with the window).
// - lbUnits, clicked (Sender set): the entry is shown and, when it has a
//   placement, that placement is selected on Set Units (SetUnitsClick with
//   nullptr). With nullptr only the entry is shown.
// - lbSetUnits, clicked or picked on the map: the placement's entry is shown
//   in the column with TOobColumn::ShowEntryOfPlacement, which sets the
//   column's flag showingPlacement_ for the time: showing the entry writes
//   its dot name into edDotName, whose change looks the name up and would
//   select a placement in turn (for a wagon placed twice, the other one).
//   The flag stops that bounce.
// - Sender == edDotName: the entry was found by the typed name; the edit is
//   not written back.
#include <QString>
#include <array>
#include <functional>

#include "scenario/readlistener.h"
#include "scenario/scnschedule.h"

class QObject;
class QWidget;

namespace varno {

class TEditPage;
class TEditWidgets;
class TScnDocument;
class TfrmMap;

class TPageDispatch {
public:
    // `window` is the Sender of the window's own selections; `map` may be null.
    TPageDispatch(TEditWidgets& widgets, TScnDocument& doc, TfrmMap* map, QObject* window,
                  std::function<void(const QString&)> status);

    // Add and Remove on the notebook's current page; each page's branch
    // leaves its list's line to show, which is shown without following into
    // the order-of-battle column.
    void Add();
    void Remove();
    // Every page writes its unstored fields into its current record.
    void StoreAll();
    // Set Units alone writes them into its current placement.
    void StoreSetupEdits();

    void SetUnitsClick(QObject* Sender);
    void ReleasesClick(QObject* Sender);
    void ReinforClick(QObject* Sender);
    void ReinUnitsClick(QObject* Sender);
    void CommandsClick(QObject* Sender);

    // Shows the selected placement on Set Units again from its record, which
    // changed under the page: its fields are not stored into it first.
    void ReshowSelectedSetup();
    // Selects a record of Releases, Reinforcements or Commands as a click on
    // its line by `Sender` does, the column following it.
    void SelectOnPage(ScheduleEventKind kind, int index, QObject* Sender);
    // Selects line `line` of a page's list as the user's click on it does:
    // its page comes to the front, its entry is shown in the column.
    // ReinUnits: a unit of the group shown. False when the list has no such line.
    bool ClickLine(ScnListBox list, int line);
    // After an undo or redo: each page shows its current record again, its
    // line selected, without storing its fields; the column the current entry.
    void ShowCurrentRecords();
    // Each page's line: "Editing: <its record's line>", or that Add uses the
    // fields when no record is current.
    void ShowEditingLines();

private:
    // A page of the notebook with the handler of a click on its list.
    struct Page {
        QWidget* widget;
        TEditPage* page;
        void (TPageDispatch::*click)(QObject* Sender);
    };
    // The notebook's current page.
    const Page* current() const;

    TEditWidgets& w_;
    TScnDocument& doc_;
    TfrmMap* map_;
    QObject* window_;
    std::function<void(const QString&)> status_;
    std::array<Page, 4> pages_;
};

}  // namespace varno
