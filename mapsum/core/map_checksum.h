// The map checksum and the conversion of a map file into the form that
// carries it in its header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <string>
#include <string_view>

#include "mapsum/core/map_text_reader.h"

namespace quillet {

// Failure texts. The core only returns them; the program shows them.
inline constexpr const char* kEofError = "EOF error!";
inline constexpr const char* kTerrainError = "Hex terrain map error!";
inline constexpr const char* kElevationError = "Elevation map error!";
inline constexpr const char* kHexsideError = "Hexside terrain map error!";
inline constexpr const char* kFlagError = "Hexside terrain flag error!";
// The size line must hold two integers in the range of a 32-bit int.
inline constexpr const char* kSizeError = "Map size error!";
// A conversion needs three integers on the header line.
inline constexpr const char* kHeaderError = "Map header error!";
inline constexpr const char* kCantOpenMap = "Can't open MAP file!";
inline constexpr const char* kCantCreateMap = "Can't create new MAIN.MAP file!";

inline constexpr int kHexsideLayers = 10;

// The outcome of the checksum pass. Success is told apart from the value, so
// a map whose checksum happens to be -1 is as good as any other.
struct ChecksumResult {
    bool ok = false;
    std::int32_t checksum = 0;
    std::string message;  // empty when ok
};

struct ConvertResult {
    bool ok = false;
    std::string message;  // empty when ok
};

// Terrain weight of one hex character in the checksum.
int terrain_weight(unsigned char c);

// Validates the sections of a map and computes its checksum in one pass.
ChecksumResult compute_map_checksum(MapTextReader& in);
ChecksumResult compute_map_checksum(std::istream& in);
ChecksumResult compute_map_checksum(std::string_view data);

// Writes the converted copy of the map read from `in` to `out`: format line
// "2", the size line as it is, the first three integers of the header line
// followed by `checksum`, then every remaining line unchanged. Lines are
// written with CR LF.
ConvertResult convert_map_file(MapTextReader& in, std::ostream& out, std::int32_t checksum);
ConvertResult convert_map_file(std::istream& in, std::ostream& out, std::int32_t checksum);

// The map file that `typed` names: the name as typed when such a file
// exists, else the file of its folder whose name differs only in ASCII case
// (game folders copied from other systems spell MAIN.MAP in any case), else
// `typed` unchanged.
std::filesystem::path resolve_map_name(const std::filesystem::path& typed);

// Map files larger than this are refused.
inline constexpr std::uintmax_t kMapFileLimit = 256ull * 1024 * 1024;

// Why `path` cannot be read as a map, judged without blocking (opened
// without waiting, then looked at): "<path> is not a regular file" (a FIFO, a device)
// or "<path> is too large (<n> bytes)"; empty when it may be read, or is a
// folder or does not open at all (open_map_file then says so).
std::string map_file_problem(const std::filesystem::path& path);

// Opens the map file `path` for reading; false when it cannot be opened or
// map_file_problem finds one.
bool open_map_file(const std::filesystem::path& path, std::ifstream& in);

enum class ConvertStatus { done, cant_open_input, cant_create_output, failed };

struct ConvertOutcome {
    ConvertStatus status = ConvertStatus::failed;
    std::string message;  // empty when done
};

// Converts the file `input` into the file `output`. The copy is written to a
// new file in the output's directory that replaces `output` only once it is
// complete, so an output that is the input itself (under any name) is read
// before it is replaced, and a failed conversion leaves every existing file
// as it was.
ConvertOutcome convert_map_path(const std::filesystem::path& input, const std::filesystem::path& output,
                                std::int32_t checksum);

}  // namespace quillet
