#pragma once
// Keeps the main window's list boxes in step with the scenario's lists while
// the readers build them and the edit operations change them, and passes the
// map notifications on.
#include <array>
#include <functional>

#include "scenario/scnedit.h"

namespace varno {

class TListBox;

class TListLines : public EditListener {
public:
    // The list box that shows `which`; every list needs one before the
    // first notification.
    void SetBox(ScnListBox which, TListBox* box);
    // The order of battle has been read (the map starts again).
    std::function<void()> OnOobRead;
    // A placement is drawn on the map.
    std::function<void(const TSetupRec* rec, int col, int row)> OnDrawUnit;
    // Any list or record changed (the windows that draw the whole scenario
    // follow it).
    std::function<void()> OnChange;

    void listCleared(ScnListBox which) override;
    void lineAdded(ScnListBox which, std::string_view line) override;
    void lineRemoved(ScnListBox which, int index) override;
    void lineChanged(ScnListBox which, int index, std::string_view text) override;
    void recordChanged(ScnListBox which, int index) override;
    void lineInserted(ScnListBox which, int index, std::string_view text) override;
    void headerChanged() override;
    void oobRead() override;
    void drawUnit(const TSetupRec* rec, int col, int row) override;

private:
    void changed() const {
        if (OnChange) OnChange();
    }
    TListBox* box(ScnListBox which) const { return boxes_[static_cast<std::size_t>(which)]; }
    std::array<TListBox*, 6> boxes_{};
};

}  // namespace varno
