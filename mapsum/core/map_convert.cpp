#include <climits>
#include <cstdio>
#include <istream>
#include <ostream>
#include <random>
#include <string>
#include <system_error>

#include "mapsum/core/map_checksum.h"
#include "mapsum/core/map_platform.h"

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr char kLineEnd[] = "\r\n";

void write_line(std::ostream& out, const TextLine& line) {
    out.write(line.text.data(), static_cast<std::streamsize>(line.text.size()));
    if (line.has_end) out.write(kLineEnd, 2);
}

ConvertResult convert_fail(const char* message) { return {false, message}; }

// Follows a chain of symbolic links so that the converted copy replaces the
// file the name leads to, as writing through the name would.
fs::path resolve_links(fs::path p) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p;
}

// Creates an empty file with a fresh name in `dir`; empty path on failure.
fs::path create_temp_beside(const fs::path& dir, const fs::path& name) {
    std::random_device seed;
    std::mt19937 gen(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(gen()));
        std::string leaf(1, '.');
        leaf += platform::path_text(name);
        leaf += suffix;
        const fs::path candidate = dir / platform::path_from_text(leaf);
        bool exists = false;
        if (platform::create_new_file(candidate, exists)) return candidate;
        if (!exists) break;
    }
    return {};
}

}  // namespace

ConvertResult convert_map_file(MapTextReader& in, std::ostream& out, std::int32_t checksum) {
    TextLine line;
    if (!in.read_line(line)) return convert_fail(kEofError);
    out.write("2", 1);
    out.write(kLineEnd, 2);

    if (!in.read_line(line)) return convert_fail(kEofError);
    write_line(out, line);

    // The three integers must stand on the header line itself; blank lines
    // before it are skipped.
    long long header[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const IntRead got = i == 0 ? in.read_int(header[i]) : in.read_int_on_line(header[i]);
        if (got == IntRead::end_of_file) return convert_fail(kEofError);
        if (got == IntRead::not_a_number || header[i] < INT32_MIN || header[i] > INT32_MAX)
            return convert_fail(kHeaderError);
    }
    // The rest of the header line, an old checksum included, is dropped.
    if (!in.read_line(line)) return convert_fail(kEofError);
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%lld %lld %lld %ld\r\n", header[0], header[1], header[2],
                                static_cast<long>(checksum));
    out.write(text, n);

    while (in.read_line(line)) write_line(out, line);
    if (!out) return convert_fail(kCantCreateMap);
    return {true, {}};
}

ConvertResult convert_map_file(std::istream& in, std::ostream& out, std::int32_t checksum) {
    MapTextReader reader(in);
    return convert_map_file(reader, out, checksum);
}

fs::path resolve_map_name(const fs::path& typed) {
    std::error_code ec;
    // Where names ignore case the typed one always "exists": the folder
    // tells how the file is spelled.
    if (typed.empty() || (!platform::names_ignore_case() && fs::exists(typed, ec))) return typed;
    const std::string wanted = platform::path_text(typed.filename());
    const fs::path dir = typed.has_parent_path() ? typed.parent_path() : fs::path(".");
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string key = lower(wanted);
    fs::path found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = platform::path_text(it->path().filename());
        if (name == wanted) return typed;
        // The first match in byte order, so that the choice does not depend on the directory's order.
        if (lower(name) == key && (found.empty() || name < platform::path_text(found.filename()))) found = it->path();
    }
    return found.empty() ? typed
                         : (typed.has_parent_path() ? typed.parent_path() / found.filename() : found.filename());
}

std::string map_file_problem(const fs::path& path) {
    const platform::file_look look = platform::look_without_blocking(path);
    // A folder cannot be opened as a map (open_map_file says so); other
    // files that are not regular would never end or never start.
    if (look.kind == platform::file_kind::other) return platform::path_text(path) + " is not a regular file";
    if (look.kind == platform::file_kind::regular && look.size > kMapFileLimit)
        return platform::path_text(path) + " is too large (" + std::to_string(look.size) + " bytes)";
    return {};
}

bool open_map_file(const fs::path& path, std::ifstream& in) {
    std::error_code ec;
    if (fs::is_directory(path, ec) || !map_file_problem(path).empty()) return false;
    in.open(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

ConvertOutcome convert_map_path(const fs::path& input, const fs::path& output, std::int32_t checksum) {
    std::ifstream in;
    if (!open_map_file(input, in)) return {ConvertStatus::cant_open_input, kCantOpenMap};

    const ConvertOutcome cant_create{ConvertStatus::cant_create_output, kCantCreateMap};
    const fs::path dest = resolve_links(output);
    std::error_code ec;
    const fs::file_status dest_status = fs::status(dest, ec);
    // A circle of links, a folder that may not be entered: nothing to replace.
    if (ec && ec != std::errc::no_such_file_or_directory) return cant_create;
    const bool dest_exists = fs::exists(dest_status);
    if (dest.filename().empty()) return cant_create;
    // What the name leads to must be a file or nothing: a device, a FIFO or
    // a folder is never replaced by the copy. Windows' devices (NUL, CON)
    // are names in every folder that no folder lists: they open, though.
    const bool device = !dest_exists && platform::look_without_blocking(dest).kind == platform::file_kind::other;
    if (device || (dest_exists && !fs::is_regular_file(dest_status)))
        return {ConvertStatus::cant_create_output, platform::path_text(output) + " is not a regular file"};
    // A file the user may not write is not replaced behind its back.
    if (dest_exists && !platform::may_write(dest)) return cant_create;

    fs::path dir = dest.parent_path();
    if (dir.empty()) dir = ".";
    const fs::path temp = create_temp_beside(dir, dest.filename());
    if (temp.empty()) return cant_create;
    if (dest_exists) fs::permissions(temp, dest_status.permissions(), ec);

    ConvertResult result;
    {
        std::ofstream out(temp, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out) {
            fs::remove(temp, ec);
            return cant_create;
        }
        result = convert_map_file(in, out, checksum);
        out.close();
        // Windows replaces no file that is open without leave to delete it:
        // the map read is closed before it may be converted into itself.
        in.close();
        if (result.ok && (!out || !platform::sync_to_disk(temp))) result = {false, kCantCreateMap};
    }
    if (!result.ok) {
        fs::remove(temp, ec);
        if (result.message == kCantCreateMap) return cant_create;
        return {ConvertStatus::failed, result.message};
    }
    if (!platform::rename_over(temp, dest)) {
        fs::remove(temp, ec);
        return cant_create;
    }
    // The new name on the disk too, or the conversion is not complete.
    if (!platform::sync_to_disk(dir)) return cant_create;
    return {ConvertStatus::done, {}};
}

}  // namespace quillet
