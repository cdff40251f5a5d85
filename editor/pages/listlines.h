#pragma once
// Keeps the main window's list boxes in step with the scenario's lists while
// the readers build them and the edit operations change them. (The map
// follows the document's notification, not the readers.)
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

private:
    void changed() const {
        if (OnChange) OnChange();
    }
    TListBox* box(ScnListBox which) const { return boxes_[static_cast<std::size_t>(which)]; }
    std::array<TListBox*, 6> boxes_{};
};

}  // namespace varno
