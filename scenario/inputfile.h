#pragma once
// Opening the files the programs read: regular files only, opened without
// blocking (a FIFO or a device never holds a read up), of sane size.
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/platform/platform.h"

namespace varno {

// Text files larger than this are refused.
inline constexpr std::uint64_t kTextFileLimit = 256ull * 1024 * 1024;
// A line of a scenario or an order of battle is never longer than this.
inline constexpr std::size_t kTextLineLimit = 64 * 1024;

// Nothing is at path, not even through a link: a file may be made there.
// False for everything else, also what cannot be looked at (a folder on
// the way that may not be entered, a circle of links).
bool NoFileAt(const std::string& path);

// Opens path for reading without waiting (a FIFO), then looks at what it
// opened. Throws ScnError: "Cannot read <path>: <reason>", "<path> is not a
// regular file", or, when `limit` is not 0 and the file is larger, "<path>
// is too large (<n> bytes)".
platform::File OpenRegularFile(const std::string& path, std::uint64_t limit = 0);

// The whole file through OpenRegularFile with the text limit (also when the
// file grows while it is read).
std::string ReadTextFile(const std::string& path);

// Why bytes are not a text file of ours, or empty when they may be one: a
// UTF-16 or UTF-32 byte-order mark, UTF-16 without one (NUL bytes at every
// other position), NUL bytes in most lines, CR alone as the line end, or a
// line over kTextLineLimit bytes.
std::string NotTextReason(std::string_view data);

}  // namespace varno
