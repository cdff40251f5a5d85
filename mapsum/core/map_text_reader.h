// Reads a map file the way the game's tools do: as text, one line at a time
// into a 256-byte buffer, with integers taken by formatted input.
#pragma once

#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

namespace quillet {

// One piece of a line as a 256-byte line read returns it: at most 255
// characters, counting a line end (CR LF or LF) as one character. A longer line
// comes back in several pieces; only the last one carries the line end.
struct TextLine {
    std::string_view text;  // the characters before the line end
    bool has_end = false;   // the piece ends with a line end
    // Length as the format's rules count it: the line end is one character.
    std::size_t length() const { return text.size() + (has_end ? 1 : 0); }
};

enum class IntRead { ok, end_of_file, not_a_number };

class MapTextReader {
public:
    static constexpr std::size_t kLineBuffer = 256;
    static constexpr std::size_t kDefaultBlock = 64 * 1024;

    // Reads the whole of `data`; nothing is copied.
    explicit MapTextReader(std::string_view data);
    // Reads from `in` in blocks of `block` bytes (at least kLineBuffer + 1).
    explicit MapTextReader(std::istream& in, std::size_t block = kDefaultBlock);

    MapTextReader(const MapTextReader&) = delete;
    MapTextReader& operator=(const MapTextReader&) = delete;

    // Reads the next piece of a line; false at end of input with nothing read.
    // The text stays valid until the next call on this reader.
    bool read_line(TextLine& line);

    // Skips blanks, tabs, line ends and the other white-space bytes; false when
    // the input ends.
    bool skip_space();

    // Formatted integer input: skips white space (line ends included), then an
    // optional sign and decimal digits. Values beyond the range of long long
    // are clamped to it.
    IntRead read_int(long long& value);

    // Like read_int, but only blanks and tabs may come before the number: the
    // number must be on the current line.
    IntRead read_int_on_line(long long& value);

private:
    // Makes at least `n` bytes available when the input still has them.
    void ensure(std::size_t n);
    IntRead read_digits(long long& value);

    const char* cur_ = nullptr;
    const char* end_ = nullptr;
    std::istream* in_ = nullptr;
    bool input_done_ = true;
    std::vector<char> block_;
};

}  // namespace quillet
