#pragma once
// The fixed order of battle the scenario targets read against: every dot name
// of the demo scenario and of the tests' small order of battle (with their
// ancestors), and one entry at each depth down to seven numbers.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"

namespace fuzzoob {

using namespace varno;

// The dot names of the fixed order of battle (their ancestors are added too):
// those of the demo scenario, those of the tests' small order of battle, and
// one entry at each depth down to seven numbers.
inline const char* const kDotNames[] = {
    "1.1",
    "1.2",
    "1.3.1",
    "1.3.3.2.2",
    "1.3.3.2.3",
    "1.3.3.2.4",
    "1.3.3.2.5.2",
    "1.3.3.2.5.3",
    "1.3.3.3.2",
    "1.3.3.3.3",
    "1.3.3.3.4",
    "1.3.3.3.5.2",
    "1.3.3.3.5.3",
    "1.3.3.4",
    "1.3.4.2.2",
    "1.3.4.2.3",
    "1.3.4.2.4",
    "1.3.4.2.5.2",
    "1.3.4.2.5.3",
    "1.4",
    "1.5",
    "1.2.1",
    "2.1",
    "2.2",
    "2.3",
    "2.3.1",
    "2.3.3.2.2",
    "2.3.3.2.3",
    "2.3.3.2.4",
    "2.3.3.2.5.2",
    "2.3.3.2.5.3",
    "2.3.3.3.2",
    "2.3.3.3.3",
    "2.3.3.3.4",
    "3",
    "1.1.1.1.1.1.1",
    "255.255.255.255.255.255.255",
};

// The keys of the fixed order of battle, each after its ancestors; worked out once.
inline std::vector<DotKey> FixedKeys() {
    std::vector<DotKey> keys;
    auto add = [&keys](const DotKey& levels, int depth) {
        DotKey key{};
        for (int i = 0; i <= depth; ++i) key[static_cast<std::size_t>(i)] = levels[static_cast<std::size_t>(i)];
        for (const DotKey& k : keys)
            if (k == key) return;
        keys.push_back(key);
    };
    for (const char* name : kDotNames) {
        DotKey levels{};
        int depth = 0;
        for (const char* p = name; *p; ++p) {
            if (*p == '.') {
                add(levels, depth);  // the ancestor first
                ++depth;
            } else {
                levels[static_cast<std::size_t>(depth)] =
                    static_cast<std::uint8_t>(levels[static_cast<std::size_t>(depth)] * 10 + (*p - '0'));
            }
        }
        add(levels, depth);
    }
    // In the order of a file read (each entry after its ancestors and earlier
    // siblings), so that the index appends them.
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Built through the lists' own allocators: reading a text order of battle for
// every input would cost more than the scenario itself.
inline void FixedOob(Scenario& scn) {
    static const std::vector<DotKey> keys = FixedKeys();
    ScenarioBuilder(scn).OobList().reserve(keys.size());
    for (const DotKey& key : keys) {
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Levels = key;
        e->Kind = key[1] == 0 ? 'A' : 'U';
        // Short enough to need no allocation.
        e->Display = e->Kind == 'A' ? "Army" : "Unit";
        ScenarioBuilder(scn).IndexDotName(*e);
    }
}

}  // namespace fuzzoob
