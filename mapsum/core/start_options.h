// The options Quillet answers from its command line before the window system
// starts, so that they work without a display (Quillet's own copy: it shares
// no code with Varno).
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace quillet {

// --version prints `version`, --help (or -h) prints `help`, each on `out`, and
// the status to exit with is returned (0). Any other command line returns
// nothing: the program starts as usual (Qt takes its own options).
std::optional<int> answer_start_options(int argc, const char* const* argv, const std::string& version,
                                        const std::string& help, std::ostream& out);

}  // namespace quillet
