#pragma once
// Many records at once: the shared selection of the four lists and the map,
// Remove and Delete on it, copy, cut, paste and Duplicate through the
// clipboard (the scenario file's own lines), moving a formation, placing a
// whole organisation, and the lists' context menus. Each action is one step
// of the history, named after it ("Move 24 placements", "Remove 3 releases").
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "mapview/hexgeom.h"
#include "scenario/readlistener.h"
#include "scenario/selection.h"

class QAction;
class QMenu;
class QMimeData;
class QWidget;

namespace varno {

class Dialogs;
class EditListener;
class TEditWidgets;
class TListBox;
class TScnDocument;
class TfrmMap;

// The clipboard's own type: the same bytes as the plain text.
inline constexpr char kRecordsMimeType[] = "application/x-varno-records";

class TManyRecords : public QObject {
    Q_OBJECT
public:
    // `run` runs an action of the user's (its changes one step, its errors
    // shown); `map` may be null.
    TManyRecords(TEditWidgets& widgets, TScnDocument& doc, EditListener& lines, Dialogs& dialogs, TfrmMap* map,
                 QWidget* window, std::function<void(const QString&)> status,
                 std::function<void(const std::function<void()>&)> run);

    // Edit > Cut, Copy, Paste, Duplicate, Select All; added to `edit`.
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuDuplicate = nullptr;
    QAction* mnuSelectAll = nullptr;
    void AddToMenu(QMenu& edit);

    // A page's list was clicked: its selected lines become the selection of
    // their kind, the record the page shows current.
    void TakeListSelection(int page);
    // The selection of `kind` changed: its list shows it, the status counts
    // selected placements.
    void ShowSelection(RecordKind kind);

    // Remove on the current page with more than one record selected; false
    // (nothing done) when the page's own Remove of one record applies.
    bool RemoveSelected();
    // The selected records of the current page (placements when `map`).
    void Copy(bool map);
    void Cut();
    // Adds the clipboard's records; `at`: placements moved as a formation so
    // that the first comes to that hex.
    void Paste(std::optional<HexPos> at);
    // Copies the selection and pastes it one hex to the right.
    void Duplicate();
    void SelectAll();
    // The selected placements moved so that one at `from` comes to `to`.
    void MoveSelection(HexPos from, HexPos to);
    // The selected placements, current last.
    std::vector<const TSetupRec*> SelectedPlacements() const;
    // Sets the selected placements and shows them on Set Units.
    void SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current);
    // An organisation's leader and units not yet placed, around `hex`.
    void PlaceOrganisation(const TOobRec* org, HexPos hex);

    // "Check This Record": the check's findings of the `index`th record of
    // a page's list (set by the window).
    std::function<void(ScnListBox page, int index)> CheckRecord;

    // The context menu of page `page`'s list (built anew each time).
    QMenu* ListMenu(int page);

private:
    template <class R> void takeList(TListBox* box);
    template <class R> void showList(TListBox* box);
    template <class R> bool removeAll(const char* verbOne);
    void pasteText(const QByteArray& text, std::optional<HexPos> at, bool duplicate);
    QMimeData* copied(bool map) const;
    int page() const;

    TEditWidgets& w_;
    TScnDocument& doc_;
    EditListener& lines_;
    Dialogs& dialogs_;
    TfrmMap* map_;
    QWidget* window_;
    std::function<void(const QString&)> status_;
    std::function<void(const std::function<void()>&)> run_;
    bool showing_ = false;  // the lists being set from the selection
};

}  // namespace varno
