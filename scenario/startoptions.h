#pragma once
// The options a desktop program answers from its command line before its
// window system starts, so that they work without a display, as the CLIs'.
#include <optional>
#include <ostream>
#include <string>

namespace varno {

// --version prints `version`, --help (or -h) prints `help`, each on `out`,
// and the status to exit with is returned (0). Any other command line
// returns nothing: the program starts as usual (Qt takes its own options).
std::optional<int> AnswerStartOptions(int argc, const char* const* argv, const std::string& version,
                                      const std::string& help, std::ostream& out);

}  // namespace varno
