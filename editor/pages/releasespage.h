#pragma once
// The "Releases" page: fixed units freed at a date and time with a chance.
#include <QWidget>

#include "editor/pages/datefields.h"
#include "editor/pages/editpage.h"
#include "editor/pages/pagecontext.h"
#include "editor/pages/togetheredit.h"
#include "scenario/scnedit.h"

class QCheckBox;

class QLabel;

namespace varno {

class TListBox;
class TSpinEdit;
struct TOobRec;
struct TReleaseRec;

class TReleasesPage : public QWidget, public TEditPage {
    Q_OBJECT
public:
    TReleasesPage(const PageContext& ctx, QWidget* parent = nullptr);

    // Writes the fields into CurRelease when a line is selected and they differ.
    void StoreReleaseEdits();
    // Stores the fields, then makes the selected line's release current and
    // shows it; the release shown, or null.
    const TReleaseRec* SelectRelease();
    // The Add branch: a new release of `entry`, or the line of its existing
    // one, is selected with no release current; true when the caller is to
    // show the selected line.
    bool Add(const TOobRec* entry);
    // The Remove branch for the selected release.
    void Remove();
    ReleaseFields Fields() const;
    // With several releases selected: the fields show what they share,
    // blank where they differ.
    void ShowTogether();

    TSpinEdit* seYear = nullptr;
    TSpinEdit* seMonth = nullptr;
    TSpinEdit* seDay = nullptr;
    TSpinEdit* seHour = nullptr;
    TSpinEdit* seMin = nullptr;
    TSpinEdit* seChance = nullptr;
    QCheckBox* cbV103 = nullptr;
    TListBox* lbReleases = nullptr;

    // Which record the fields belong to; the window writes it.
    QLabel* lblEditing = nullptr;

    // TEditPage
    void StoreEdits() override { StoreReleaseEdits(); }
    bool AddEntry(const TOobRec* entry) override { return Add(entry); }
    bool RemoveSelected() override {
        Remove();
        return false;
    }
    TListBox* RecordLines() const override { return lbReleases; }
    QLabel* EditingLine() const override { return lblEditing; }
    int CurrentLine() const override;

private:
    PageContext ctx_;
    DateSpins date_;
    TMixedFields* mixed_ = nullptr;
    TogetherEdit<TReleaseRec> together_;
    void showFields(const ReleaseFields& f);
};

}  // namespace varno
