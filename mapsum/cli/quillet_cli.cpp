// quillet-cli: Quillet's checksum and conversion for scripts. The same passes
// as the dialog program, with the messages on stderr instead of boxes.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "mapsum/core/map_checksum.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInvalidMap = 1;  // the map's layout is wrong
constexpr int kExitFile = 2;        // a file cannot be opened or created; wrong arguments

// A message for the terminal: a control character (of a path typed or of a
// file's text) is shown as its Unicode control picture, never sent raw.
std::string visible_text(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20) {
            out += "\xE2\x90";
            out += static_cast<char>(0x80 + c);  // U+2400 + c
        } else if (c == 0x7F) {
            out += "\xE2\x90\xA1";  // U+2421
        } else {
            out += ch;
        }
    }
    return out;
}

int fail(const std::string& message, int status) {
    std::cerr << visible_text(message) << '\n';
    return status;
}

// The checksum a script reads must have reached it.
int written(int status) {
    if (std::cout.flush()) return status;
    std::cerr << "quillet-cli: cannot write the output\n";
    return kExitFile;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Checks a map file, prints its checksum and can write a converted copy "
                 "that carries the checksum in its header, as Quillet does.",
                 "quillet-cli"};
    app.set_version_flag("--version", std::string("quillet-cli ") + QUILLET_VERSION);
    app.footer("Exit status: 0 done, 1 invalid map, 2 a file cannot be opened or created, "
               "or wrong arguments.");
    std::string map_name, out_name;
    app.add_option("MAP", map_name, "The map file (found in any case, like MAIN.MAP)")->required();
    app.add_option("--convert", out_name, "Write the converted copy to OUT (may be MAP itself)")->option_text("OUT");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
        std::cerr << "quillet-cli: " << e.what() << '\n'
                  << "Usage: quillet-cli MAP [--convert OUT]\n"
                  << "Run with --help for more information.\n";
        return kExitFile;
    }

    using namespace quillet;
    const std::filesystem::path input = resolve_map_name(map_name);
    ChecksumResult sum;
    {
        std::ifstream in;
        if (const std::string problem = map_file_problem(input); !problem.empty()) return fail(problem, kExitFile);
        if (!open_map_file(input, in)) return fail(kCantOpenMap, kExitFile);
        sum = compute_map_checksum(in);
    }
    if (!sum.ok) return fail(sum.message, kExitInvalidMap);
    std::cout << "Checksum: " << static_cast<long>(sum.checksum) << '\n' << std::flush;
    if (out_name.empty()) return written(kExitOk);

    const ConvertOutcome converted = convert_map_path(input, out_name, sum.checksum);
    switch (converted.status) {
    case ConvertStatus::done: std::cout << "Conversion complete!\n"; return written(kExitOk);
    case ConvertStatus::failed: return fail(converted.message, kExitInvalidMap);
    case ConvertStatus::cant_open_input:
    case ConvertStatus::cant_create_output: break;
    }
    return fail(converted.message, kExitFile);
}
