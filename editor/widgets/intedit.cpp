#include "editor/widgets/intedit.h"

namespace varno {

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

bool ParseIntText(std::string_view text, std::int32_t& value) {
    if (text.empty()) {
        value = 0;
        return true;
    }
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) return false;

    std::uint32_t magnitude = 0;
    if (text[i] == '$') {
        ++i;
        const std::size_t first = i;
        for (; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0 || i - first >= 8) return false;
            magnitude = magnitude << 4 | static_cast<std::uint32_t>(d);
        }
        if (i == first) return false;
        // The 32 bits as they are; a sign negates them.
        const std::uint32_t bits = negative ? 0u - magnitude : magnitude;
        value = static_cast<std::int32_t>(bits);
        return true;
    }

    const std::size_t first = i;
    // The largest magnitude: 2147483647, or 2147483648 with a minus sign.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        const std::uint32_t d = static_cast<std::uint32_t>(c - '0');
        if (magnitude > (limit - d) / 10) return false;
        magnitude = magnitude * 10 + d;
    }
    if (i == first) return false;
    value = negative ? static_cast<std::int32_t>(0u - magnitude) : static_cast<std::int32_t>(magnitude);
    return true;
}

bool IsUnfinishedIntText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && text[i] == '$') ++i;
    return i == text.size();
}

std::string NotAnIntegerMessage(std::string_view text) {
    std::string m = "'";
    m.append(text);
    m.append("' is not a valid integer value");
    return m;
}

}  // namespace varno
