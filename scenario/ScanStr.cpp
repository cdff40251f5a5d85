#include "ScanStr.h"

#include <cstdint>
#include <cstring>

namespace {

// One call's walk over source and format. Positions count from 1 like the
// game's short strings, so the rules read the same as the file layouts.
class Scanner {
public:
    Scanner(std::string_view source, std::string_view format, void* const* dest, int destCount)
        : src_(CutShort(source)), fmt_(CutShort(format)), dest_(dest), destCount_(destCount),
          slen_(static_cast<int>(src_.size())), flen_(static_cast<int>(fmt_.size())) {}

    int run();

private:
    enum class Size { Byte, Default, Long };

    // The source character at p, or -1 when p is not a character of the source.
    // Nothing past the source is ever read: a comparison there meets "no
    // character", which no literal, digit or blank equals.
    int at(int p) const { return p >= 1 && p <= slen_ ? static_cast<unsigned char>(src_[p - 1]) : -1; }
    int fmtAt(int i) const { return i >= 1 && i <= flen_ ? static_cast<unsigned char>(fmt_[i - 1]) : -1; }

    void skipBlanks() {
        while (pos_ < slen_ && at(pos_) <= 32) ++pos_;
    }
    // The next storing destination; null (a failed store, which stops the
    // scan) when the caller passed none for this field.
    void* nextDest() const {
        if (!dest_ || count_ >= destCount_) return nullptr;
        return dest_[count_];
    }
    // Each returns false when the scan stops here; the fields stored so far stay written.
    bool conversion();
    bool number(bool store, std::uint8_t width, Size size, int base);

    std::string_view src_, fmt_;
    void* const* dest_;
    int destCount_;
    int slen_, flen_;
    int pos_ = 1;    // source position
    int index_ = 1;  // format index
    int count_ = 0;  // fields stored
};

int Scanner::run() {
    if (slen_ == 0 || flen_ == 0) return 0;
    while (index_ < flen_) {
        const int f = fmtAt(index_);
        if (f == 9 || f == 10 || f == 13 || f == 32) {
            skipBlanks();
        } else if (f == '%') {
            if (!conversion()) return -count_;
        } else if (at(pos_) == f) {
            ++pos_;
        } else {
            return -count_;
        }
        ++index_;
    }
    return count_;
}

bool Scanner::conversion() {
    ++index_;
    bool store = true;
    if (fmtAt(index_) == '*') {
        store = false;
        ++index_;
    }
    std::uint8_t width = 0;  // 8 bits: a width of 300 acts as 44
    while (fmtAt(index_) >= '0' && fmtAt(index_) <= '9') {
        width = static_cast<std::uint8_t>(width * 10 + (fmtAt(index_) - '0'));
        ++index_;
    }
    Size size = Size::Default;
    if (fmtAt(index_) == 'l') {
        size = Size::Long;
        ++index_;
    } else if (fmtAt(index_) == 'h') {
        size = Size::Byte;
        ++index_;
    }
    switch (fmtAt(index_)) {
    case 'c':
        // There is no character to take one past the end: that fails like an
        // unmatched literal rather than inventing a character.
        if (at(pos_) < 0) return false;
        if (store) {
            void* out = nextDest();
            if (!out) return false;
            *static_cast<char*>(out) = src_[pos_ - 1];
            ++count_;
        }
        pos_ += width ? width : 1;
        break;
    case 's': {
        skipBlanks();
        int w = width ? width : slen_;
        if (store) {
            auto* out = static_cast<ShortString*>(nextDest());
            if (!out) return false;
            int n = pos_ <= slen_ ? slen_ - pos_ + 1 : 0;
            if (n > w) n = w;
            std::memcpy(out->Chars, src_.data() + (pos_ - 1 < slen_ ? pos_ - 1 : 0), static_cast<std::size_t>(n));
            out->Len = static_cast<std::uint8_t>(n);
            ++count_;
        }
        pos_ += w;
        break;
    }
    case 'd': if (!number(store, width, size, 10)) return false; break;
    case 'o': if (!number(store, width, size, 8)) return false; break;
    case 'x': if (!number(store, width, size, 16)) return false; break;
    default: break;  // an unknown conversion reads, stores and counts nothing
    }
    // A conversion that ran past the end starts the line over.
    if (pos_ > slen_) pos_ = 1;
    return true;
}

bool Scanner::number(bool store, std::uint8_t width, Size size, int base) {
    int w = width;
    if (w == 0) {
        skipBlanks();
        static constexpr int widths[3][3] = {{4, 6, 11}, {4, 6, 12}, {3, 5, 9}};  // d, o, x by size
        const int row = base == 10 ? 0 : base == 8 ? 1 : 2;
        w = widths[row][static_cast<int>(size)];
    }
    if (pos_ + w > slen_) w = pos_ <= slen_ ? slen_ - pos_ + 1 : 0;

    std::uint32_t value = 0;  // 32-bit arithmetic that wraps silently
    bool seen = false, negative = false;
    for (int i = 0; i < w; ++i) {
        const int ch = at(pos_);
        if (ch == ' ') {
            if (seen) break;
            ++pos_;
        } else if (ch == '+' || ch == '-') {
            ++pos_;
            if (ch == '-') negative = true;
            if (seen) break;
        } else if (ch >= '0' && ch <= '9') {
            if (base == 8 && ch > '7') {
                if (seen) break;
                return false;
            }
            seen = true;
            value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(ch - '0');
            ++pos_;
        } else if (base == 16 && ((ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f'))) {
            seen = true;
            value = value * 16u + static_cast<std::uint32_t>((ch | 0x20) - 'a' + 10);
            ++pos_;
        } else {
            if (seen) break;
            return false;
        }
    }
    if (!store) return true;
    if (negative) value = 0u - value;
    void* out = nextDest();
    if (!out) return false;
    if (size == Size::Byte) {
        *static_cast<std::uint8_t*>(out) = static_cast<std::uint8_t>(value & 0xFF);
    } else {
        const std::int32_t v = static_cast<std::int32_t>(value);
        std::memcpy(out, &v, sizeof v);
    }
    ++count_;
    return true;
}

}  // namespace

int ScanStr(std::string_view source, std::string_view format, void* const* dest, int destCount) {
    return Scanner(source, format, dest, destCount).run();
}
