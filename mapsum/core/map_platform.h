#pragma once
// Quillet's own platform layer (it shares no code with Varno): what its core
// and its command line do that standard C++ does not. One implementation a
// system: map_platform_posix.cpp, map_platform_windows.cpp. Texts of paths
// are the file system's bytes on POSIX and UTF-8 on Windows.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::platform {

// A path from its text, and the text of a path (for messages and names).
std::filesystem::path path_from_text(std::string_view text);
std::string path_text(const std::filesystem::path& path);

// File names that differ only in case name one file (Windows).
bool names_ignore_case();

// The command line's arguments as path texts, whatever the code page.
std::vector<std::string> arguments(int argc, char** argv);
// Standard output and error pass bytes unchanged; a console shows UTF-8.
void binary_standard_streams();

enum class file_kind { none, regular, directory, other };

// What `path` is, judged without blocking (a FIFO is opened without
// waiting for a writer, then looked at): `none` when it does not open.
struct file_look {
    file_kind kind = file_kind::none;
    std::uintmax_t size = 0;
};
file_look look_without_blocking(const std::filesystem::path& path);

// May this user write the existing file? (access; the read-only attribute)
bool may_write(const std::filesystem::path& path);

// Makes a new empty file; false when it exists (`exists` then true) or
// cannot be made.
bool create_new_file(const std::filesystem::path& path, bool& exists);

// Flushes a file, or a folder's entries, to the disk.
bool sync_to_disk(const std::filesystem::path& path);

// Renames `from` over `to` in one step (rename; MoveFileExW with
// MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH).
bool rename_over(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace quillet::platform
