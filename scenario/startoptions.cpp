#include "scenario/startoptions.h"

#include <string_view>

namespace varno {

std::optional<int> AnswerStartOptions(int argc, const char* const* argv, const std::string& version,
                                      const std::string& help, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            out << version << '\n';
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            out << help;
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace varno
