#include "mapsum/core/start_options.h"

#include <string_view>

namespace quillet {

std::optional<int> answer_start_options(int argc, const char* const* argv, const std::string& version,
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

}  // namespace quillet
