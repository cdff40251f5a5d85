#include "scenario/skippedlines.h"

#include "scenario/scenario.h"

namespace varno {

std::string SkippedLinesMessage(const Scenario& scn) {
    if (scn.SkippedReleaseLines == 0 && scn.SkippedCommandLines == 0) return {};
    return std::to_string(scn.SkippedReleaseLines) + " release and " + std::to_string(scn.SkippedCommandLines) +
           " command lines name units that are not in the order of battle; saving will leave them out.";
}

}  // namespace varno
