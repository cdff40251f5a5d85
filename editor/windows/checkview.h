#pragma once
// Search > Check Scenario in the main window: runs the whole-scenario check
// of the core, fills the list window with its findings grouped by kind, and
// takes a double-clicked finding to its record (its page, its line, its
// entry in the order-of-battle column, its hex on the map).
#include <QObject>
#include <optional>

#include "editor/pages/pagecontext.h"
#include "scenario/readlistener.h"

class QListWidget;
class QListWidgetItem;

namespace varno {

class SearchHost;
class TfrmList;

class TCheckView : public QObject {
    Q_OBJECT
public:
    // Lives as long as `parent`; gets the pages and the map through `host`.
    TCheckView(const PageContext& ctx, SearchHost& host, QObject* parent);

    // Checks the scenario against the MAIN.MAP of its game folder and
    // shows the report in `list`: a heading per kind with its count, the
    // findings below it; "No findings" when there are none.
    void Run(TfrmList& list);
    // The findings of one record only, the `index`th of page list `page`:
    // those naming it, and for a placement those of its hex.
    void RunFor(TfrmList& list, ScnListBox page, int index);
    // Selects the record of a finding line (called on a double click in the
    // list window); other lines do nothing.
    void ShowFinding(const QListWidgetItem* item);

private:
    struct Record {
        ScnListBox List;
        int Index;
    };
    void run(TfrmList& list, std::optional<Record> record);

    PageContext ctx_;
    SearchHost& host_;
};

}  // namespace varno
