#pragma once
// What the readers tell their caller while they build the lists, so that a
// window can keep its list boxes in step with the lists and draw placements.
#include <string_view>

namespace varno {

struct TSetupRec;

// The list boxes that mirror the scenario's lists.
enum class ScnListBox { Units, SetUnits, Releases, Reinfor, ReinUnits, Commands };

class ReadListener {
public:
    virtual ~ReadListener() = default;
    // The list box is emptied (its list was cleared).
    virtual void listCleared(ScnListBox) {}
    // A line is appended to the list box; its record was just appended to the list.
    virtual void lineAdded(ScnListBox, std::string_view) {}
    // The order of battle was read: the map view clears its units and shows itself.
    virtual void oobRead() {}
    // A placement was read; draw it at its hex.
    virtual void drawUnit(const TSetupRec*, int /*col*/, int /*row*/) {}
};

}  // namespace varno
