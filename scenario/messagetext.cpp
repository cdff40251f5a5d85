#include "scenario/messagetext.h"

namespace varno {

namespace {

void AppendUtf8(std::string& out, unsigned cp) {
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

// keepBreaks: CR and LF are the message's own line breaks, not shown as pictures.
void AppendVisible(std::string& out, unsigned cp, bool keepBreaks = true) {
    if (keepBreaks && (cp == '\r' || cp == '\n'))
        out += static_cast<char>(cp);
    else if (cp < 0x20)
        AppendUtf8(out, 0x2400 + cp);
    else if (cp == 0x7F)
        AppendUtf8(out, 0x2421);
    else if (cp >= 0x80 && cp <= 0x9F)
        AppendUtf8(out, 0xFFFD);
    else
        AppendUtf8(out, cp);
}

}  // namespace

std::size_t Utf8At(std::string_view s, std::size_t i, unsigned& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    unsigned min = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::string QuoteLine(std::string_view line) {
    if (line.size() <= kQuotedLineMax) return std::string(line);
    std::string out(line.substr(0, kQuotedLineMax));
    out += "\xE2\x80\xA6";  // …
    return out;
}

namespace {

std::string Display(std::string_view bytes, bool keepBreaks) {
    std::string out;
    out.reserve(bytes.size() + 16);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        unsigned cp = 0;
        if (c >= 0x80) {
            if (const std::size_t len = Utf8At(bytes, i, cp); len > 0) {
                AppendVisible(out, cp, keepBreaks);
                i += len;
                continue;
            }
        }
        AppendVisible(out, c, keepBreaks);  // ASCII, or a byte of Latin-1
        ++i;
    }
    return out;
}

}  // namespace

std::string DisplayMessage(std::string_view bytes) { return Display(bytes, true); }

std::string DisplayLine(std::string_view bytes) { return Display(bytes, false); }

void AppendLatin1Line(std::string& out, std::string_view bytes) {
    std::size_t plain = 0;  // start of the printable ASCII not appended yet
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) continue;
        out.append(bytes, plain, i - plain);
        AppendVisible(out, c, false);
        plain = i + 1;
    }
    out.append(bytes, plain, bytes.size() - plain);
}

std::string DisplayLatin1Line(std::string_view bytes) {
    std::string out;
    AppendLatin1Line(out, bytes);
    return out;
}

}  // namespace varno
