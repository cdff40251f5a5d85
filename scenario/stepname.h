#pragma once
// The name of a user action's step, as the Edit menu shows it after "Undo"
// and "Redo": "Move 2.1.3 to 12,7", "Remove placement 1.4".
#include <string>

#include "scenario/editstep.h"

namespace varno {

class Scenario;

// Named after the step's first record put in or taken out of a list (a
// placement put in and moved at once is placed), else its first change.
// Entries are named by their dot names. Empty for an empty step.
std::string StepName(const Scenario& scn, const EditStep& step);

}  // namespace varno
