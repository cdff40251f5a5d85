#pragma once
// What the window's dispatch (TPageDispatch) asks of each of the notebook's
// four pages, so that Add, Remove, storing every page and the editing lines
// are loops over the pages instead of a case for each.
class QLabel;

namespace varno {

class TListBox;
struct TOobRec;

class TEditPage {
public:
    virtual ~TEditPage() = default;
    // Writes the page's fields into its current record when one is current
    // and they differ from it (one change of the action under way).
    virtual void StoreEdits() = 0;
    // The Add branch for `entry`: true when the caller is to show the line
    // the page selected.
    virtual bool AddEntry(const TOobRec* entry) = 0;
    // The Remove branch for the selected record: true when the caller is to
    // show the line the page selected then.
    virtual bool RemoveSelected() = 0;
    // The list of the page's records, and the line naming the record its
    // fields belong to.
    virtual TListBox* RecordLines() const = 0;
    virtual QLabel* EditingLine() const = 0;
    // The line of the current record in the list; -1 when none is current.
    virtual int CurrentLine() const = 0;
};

}  // namespace varno
