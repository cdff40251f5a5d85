#pragma once
// A counted string of at most 255 single-byte characters, as the game's files
// are read: a destination of %s always has room for the widest field (255).
#include <cstdint>
#include <string>
#include <string_view>

namespace varno {

struct ShortString {
    std::uint8_t Len = 0;
    char Chars[255] = {};

    std::string_view view() const { return {Chars, Len}; }
    std::string str() const { return std::string(Chars, Len); }
};

// The scanners work on the first 255 characters of a line.
inline std::string_view CutShort(std::string_view s) { return s.substr(0, s.size() < 255 ? s.size() : 255); }

}  // namespace varno
