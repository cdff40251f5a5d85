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
bool IsUtf8(std::string_view s) {
    unsigned cp = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
        } else if (const std::size_t len = Utf8At(s, i, cp); len > 0) {
            i += len;
        } else {
            return false;
        }
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
