#pragma once
// Finding records in the scenario's lists: a typed dot name, the parents of an
// order-of-battle entry, the position of a record in its list.
#include <algorithm>
#include <string_view>
#include <type_traits>

#include "scenario/records.h"

namespace varno {

class Scenario;

// The key of a typed dot name ("1.2.3"): up to seven numbers, each kept as its
// low 8 bits, zero after the last. A text that does not start with a number
// gives a key whose first number is 0, which names no entry.
DotKey ParseDotName(std::string_view text);

// Calls visit(parent) for each parent of the entry at position `pos` of `oob`,
// nearest first, up to the top level. A parent always comes before its entry;
// a list that breaks that (and so could loop) ends the chain there, as does a
// parent at or past `count` (or the list's end) and a missing record.
template <class Visit> void ForEachParent(RecordList<TOobRec> oob, std::size_t pos, std::size_t count, Visit&& visit) {
    const std::size_t n = std::min(count, oob.size());
    if (pos >= n || !oob[pos]) return;
    for (std::int32_t up = oob[pos]->Parent, below = static_cast<std::int32_t>(pos);
         up >= 0 && up < below && static_cast<std::size_t>(up) < n && oob[up]; below = up, up = oob[up]->Parent)
        visit(oob[up]);
}

// The position of `rec` in `list`, or -1 when it is not in it.
template <class T> int IndexIn(std::type_identity_t<RecordList<T>> list, const T* rec) {
    if (!rec) return -1;
    const auto it = std::find(list.begin(), list.end(), rec);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

// The position of an entry in the order of battle, or -1 when it is not in it
// (an entry of an earlier read).
int OobIndex(const Scenario& scn, const TOobRec* entry);

}  // namespace varno
