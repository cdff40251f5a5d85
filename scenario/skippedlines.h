#pragma once
// The note after a Read that skipped release or command lines naming no
// entry of the order of battle.
#include <string>

namespace varno {

class Scenario;

// "<n> release and <m> command lines name units that are not in the order of
// battle; saving will leave them out." Empty when the Read skipped none.
std::string SkippedLinesMessage(const Scenario& scn);

}  // namespace varno
