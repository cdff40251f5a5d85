#include "TermText.h"

std::string Latin1ToUtf8(std::string_view bytes)
{
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

std::string TerminalMessage(std::string_view message)
{
    std::string out = Latin1ToUtf8(message);
    for (char& c : out)
        if (c == '\r') c = '\n';
    return out;
}
