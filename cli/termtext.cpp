#include "cli/termtext.h"

#include "scenario/messagetext.h"

namespace varno {

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {
// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}
}  // namespace

std::string MessageUtf8(std::string_view bytes) { return IsUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes); }

std::string TerminalMessage(std::string_view message) {
    std::string out = DisplayMessage(message);
    for (char& c : out)
        if (c == '\r') c = '\n';
    return out;
}

std::string TerminalText(std::string_view bytes) {
    // A line of a file has no line breaks of its own to keep.
    std::string out;
    for (const char c : DisplayMessage(bytes)) {
        if (c == '\r')
            out += "\xE2\x90\x8D";
        else if (c == '\n')
            out += "\xE2\x90\x8A";
        else
            out += c;
    }
    return out;
}

}  // namespace varno
