#include "scenario/scanstr.h"

#include <cstdint>
#include <cstring>

namespace varno {

// Positions count from 1 like the game's short strings, so that the rules
// read the same as the file layouts: the source's characters are
// src(1) .. src(slen). The walk keeps its state in locals (not members) so
// that the byte stores through the destinations cannot force it back to memory.
int ScanStr(std::string_view source, std::string_view format, void* const* dest, int destCount) {
    source = CutShort(source);
    format = CutShort(format);
    const int slen = static_cast<int>(source.size());
    const int flen = static_cast<int>(format.size());
    if (slen == 0 || flen == 0) return 0;
    const auto* srcChars = reinterpret_cast<const unsigned char*>(source.data());
    const auto* fmtChars = reinterpret_cast<const unsigned char*>(format.data());
    auto src = [srcChars](int p) -> int { return srcChars[p - 1]; };  // 1 <= p <= slen

    int pos = 1;    // source position
    int index = 1;  // format index
    int count = 0;  // fields stored

    // The format character at i, or -1 past the format's end.
    auto fmtAt = [&](int i) -> int { return i <= flen ? fmtChars[i - 1] : -1; };
    // The blank skip never moves past the last character.
    auto skipBlanks = [&] {
        while (pos < slen && src(pos) <= 32) ++pos;
    };
    // The next storing destination; null (a failed store, which stops the
    // scan) when the caller passed none for this field.
    auto nextDest = [&]() -> void* { return dest && count < destCount ? dest[count] : nullptr; };

    // A number field; false when the scan stops here.
    auto number = [&](bool store, int width, int size, int base) -> bool {
        int w = width;
        if (w == 0) {
            skipBlanks();
            static constexpr int widths[3][3] = {{4, 6, 11}, {4, 6, 12}, {3, 5, 9}};  // d, o, x by size
            w = widths[base == 10 ? 0 : base == 8 ? 1 : 2][size];
        }
        // Nothing past the source is read: the field ends at its last
        // character (width 0 when the position already lies past it).
        if (pos + w > slen) w = pos <= slen ? slen - pos + 1 : 0;

        const int end = pos + w;
        const auto ubase = static_cast<std::uint32_t>(base);
        std::uint32_t value = 0;  // 32-bit arithmetic that wraps silently
        bool seen = false, negative = false;
        int p = pos;
        for (; p < end; ++p) {
            const int ch = src(p);
            const auto digit = static_cast<std::uint32_t>(ch - '0');
            if (digit < 10) {
                if (digit >= ubase) {  // 8 or 9 in base 8
                    if (seen) break;
                    return false;
                }
                seen = true;
                value = value * ubase + digit;
            } else if (ch == ' ') {
                if (seen) break;  // not consumed
            } else if (ch == '+' || ch == '-') {
                if (ch == '-') negative = true;
                if (seen) {
                    ++p;  // the sign is consumed
                    break;
                }
            } else if (base == 16 && ((ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f'))) {
                seen = true;
                value = value * 16u + static_cast<std::uint32_t>((ch | 0x20) - 'a' + 10);
            } else {
                if (seen) break;
                return false;
            }
        }
        pos = p;
        if (!store) return true;
        if (negative) value = 0u - value;
        void* out = nextDest();
        if (!out) return false;
        if (size == 0) {
            *static_cast<std::uint8_t*>(out) = static_cast<std::uint8_t>(value & 0xFF);
        } else {
            const auto v = static_cast<std::int32_t>(value);
            std::memcpy(out, &v, sizeof v);
        }
        ++count;
        return true;
    };

    // One conversion from the '%' at index; leaves index on its last
    // character. False when the scan stops here.
    auto conversion = [&]() -> bool {
        ++index;
        bool store = true;
        if (fmtAt(index) == '*') {
            store = false;
            ++index;
        }
        std::uint8_t width = 0;  // 8 bits: a width of 300 acts as 44
        while (fmtAt(index) >= '0' && fmtAt(index) <= '9') {
            width = static_cast<std::uint8_t>(width * 10 + (fmtAt(index) - '0'));
            ++index;
        }
        int size = 1;  // 0 byte, 1 default, 2 long
        if (fmtAt(index) == 'l') {
            size = 2;
            ++index;
        } else if (fmtAt(index) == 'h') {
            size = 0;
            ++index;
        }
        const int letter = fmtAt(index);
        if (letter == 'd') {
            if (!number(store, width, size, 10)) return false;
        } else if (letter == 'c') {
            // There is no character to take one past the end: that fails like
            // an unmatched literal rather than inventing a character.
            if (pos > slen) return false;
            if (store) {
                void* out = nextDest();
                if (!out) return false;
                *static_cast<unsigned char*>(out) = srcChars[pos - 1];
                ++count;
            }
            pos += width ? width : 1;
        } else if (letter == 's') {
            skipBlanks();
            const int w = width ? width : slen;
            if (store) {
                auto* out = static_cast<ShortString*>(nextDest());
                if (!out) return false;
                int n = pos <= slen ? slen - pos + 1 : 0;
                if (n > w) n = w;
                if (n > 0) std::memcpy(out->Chars, srcChars + pos - 1, static_cast<std::size_t>(n));
                out->Len = static_cast<std::uint8_t>(n);
                ++count;
            }
            pos += w;
        } else if (letter == 'o') {
            if (!number(store, width, size, 8)) return false;
        } else if (letter == 'x') {
            if (!number(store, width, size, 16)) return false;
        }
        // any other letter makes a conversion that reads, stores and counts nothing

        // A conversion that ran past the end starts the line over.
        if (pos > slen) pos = 1;
        return true;
    };

    while (index < flen) {
        const int f = fmtChars[index - 1];
        if (f == 9 || f == 10 || f == 13 || f == 32) {
            skipBlanks();
        } else if (f == '%') {
            if (!conversion()) return -count;
        } else if (pos <= slen && src(pos) == f) {
            ++pos;
        } else {
            return -count;  // a literal that does not match, or meets no character
        }
        ++index;
    }
    return count;
}

}  // namespace varno
