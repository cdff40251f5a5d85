// quillet-cli: Quillet's checksum and conversion for scripts. The same passes
// as the dialog program, with the messages on stderr instead of boxes.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "mapsum/core/map_checksum.h"
#include "mapsum/core/map_platform.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInvalidMap = 1;  // the map's layout is wrong
constexpr int kExitFile = 2;        // a file cannot be opened or created; wrong arguments

void append_utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at text[i] (its code point
// in cp), or 0: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t utf8_at(const std::string& text, std::size_t i, unsigned& cp) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    unsigned min = 0;
    if ((c & 0xE0) == 0xC0)
        len = 2, min = 0x80, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
        len = 3, min = 0x800, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
        len = 4, min = 0x10000, cp = c & 0x07;
    else
        return 0;
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto d = static_cast<unsigned char>(text[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    return cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? 0 : len;
}

// A message for the terminal: UTF-8 (bytes that form no UTF-8 read as
// Latin-1), every control character (of a path typed or of a file's text)
// shown as its Unicode control picture, never sent raw: below 0x20 as
// U+2400 + c, DEL as U+2421, the C1 controls 0x80 to 0x9F as U+FFFD.
std::string visible_text(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned cp = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (cp >= 0x80) {
            unsigned decoded = 0;
            if (const std::size_t n = utf8_at(text, i, decoded); n > 0) cp = decoded, len = n;
        }
        i += len;
        if (cp < 0x20)
            append_utf8(out, 0x2400 + cp);
        else if (cp == 0x7F)
            append_utf8(out, 0x2421);
        else if (cp >= 0x80 && cp <= 0x9F)
            append_utf8(out, 0xFFFD);
        else
            append_utf8(out, cp);
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
    // Bytes out as they are; paths in as the system spells them.
    quillet::platform::binary_standard_streams();
    const std::vector<std::string> args = quillet::platform::arguments(argc, argv);
    std::vector<const char*> argp;
    for (const std::string& a : args) argp.push_back(a.c_str());

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
        app.parse(static_cast<int>(argp.size()), argp.data());
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
        std::cerr << "quillet-cli: " << visible_text(e.what()) << '\n'
                  << "Usage: quillet-cli MAP [--convert OUT]\n"
                  << "Run with --help for more information.\n";
        return kExitFile;
    }

    using namespace quillet;
    const std::filesystem::path input = resolve_map_name(platform::path_from_text(map_name));
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

    const ConvertOutcome converted = convert_map_path(input, platform::path_from_text(out_name), sum.checksum);
    switch (converted.status) {
    case ConvertStatus::done: std::cout << "Conversion complete!\n"; return written(kExitOk);
    case ConvertStatus::failed: return fail(converted.message, kExitInvalidMap);
    case ConvertStatus::cant_open_input:
    case ConvertStatus::cant_create_output: break;
    }
    return fail(converted.message, kExitFile);
}
