// The field scanner: one row per rule the readers rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "scenario/scanstr.h"

using namespace varno;

namespace {

// One destination per storing conversion, typed by its letter and size, and
// filled with a sentinel so that an untouched field shows as "-".
struct Slots {
    struct Slot {
        char letter;
        char size;
        alignas(8) unsigned char bytes[sizeof(ShortString) + 8];
    };
    std::vector<Slot> slots;
    std::vector<void*> ptrs;

    explicit Slots(const std::string& format) {
        for (std::size_t i = 0; i < format.size(); ++i) {
            if (format[i] != '%') continue;
            std::size_t j = i + 1;
            const bool store = j < format.size() && format[j] != '*';
            if (!store) ++j;
            while (j < format.size() && format[j] >= '0' && format[j] <= '9') ++j;
            char size = 0;
            if (j < format.size() && (format[j] == 'h' || format[j] == 'l')) size = format[j++];
            const char letter = j < format.size() ? format[j] : 0;
            if (store && std::strchr("cdoxs", letter) && letter) slots.push_back(Slot{letter, size, {}});
            i = j;
        }
        for (Slot& s : slots) {
            std::memset(s.bytes, 0xAA, sizeof s.bytes);
            ptrs.push_back(s.bytes);
        }
    }

    std::string shown() const {
        std::string out;
        for (const Slot& s : slots) {
            if (!out.empty()) out += '|';
            if (s.bytes[0] == 0xAA && s.bytes[1] == 0xAA && s.bytes[2] == 0xAA) {
                out += '-';
            } else if (s.letter == 'c') {
                out += '\'';
                out += static_cast<char>(s.bytes[0]);
                out += '\'';
                if (s.bytes[1] != 0xAA) out += "(overwrote)";
            } else if (s.letter == 's') {
                ShortString str;
                std::memcpy(&str, s.bytes, sizeof str);
                out += '\'';
                out += str.str();
                out += '\'';
            } else if (s.size == 'h') {
                out += std::to_string(s.bytes[0]);
                if (s.bytes[1] != 0xAA) out += "(overwrote)";
            } else {
                std::int32_t v;
                std::memcpy(&v, s.bytes, sizeof v);
                out += std::to_string(v);
                if (s.bytes[4] != 0xAA) out += "(overwrote)";
            }
        }
        return out;
    }
};

struct Row {
    std::string source, format;
    int result;
    std::string stored;  // fields in order, '|' between, '-' for untouched
};

const Row kRows[] = {
    // empty source or format
    {"", "%d", 0, "-"},
    {"12", "", 0, ""},
    // the position wraps to the line's start after a conversion passes its end
    {"12", "%d %d", 2, "12|12"},
    {"4 1 2 3 4 5 ", "4 %d %hd %hd %hd %hd %d%c", 7, "1|2|3|4|5|0|'4'"},
    {"4 1 2 3 4 5 6 ", "4 %d %hd %hd %hd %hd %d%c", 7, "1|2|3|4|5|6|' '"},
    {"4 1 2 3 4 5 6", "4 %d %hd %hd %hd %hd %d%c", 7, "1|2|3|4|5|6|'4'"},
    // literals
    {"X 1 2 3", "L %d %d %d", 0, "-|-|-"},
    {"L 1 x 3", "L %d %d %d", -1, "1|-|-"},
    {"l5", "L%d", 0, "-"},
    {"5x", "%dy", 1, "5"},  // the format's last character is not looked at alone
    // signs and blanks before a number
    {"-25", "%d", 1, "-25"},
    {"+25", "%d", 1, "25"},
    {"  7", "%d", 1, "7"},
    {"\t7", "%d", 1, "7"},
    {"  7", "%2d", 1, "0"},
    {"\t7", "%2d", 0, "-"},  // with a width only the space counts as a blank
    {" 5", "%0d", 1, "5"},   // a width of 0 is no width
    {"    ", "%d", 1, "0"},
    {"-", "%d", 1, "0"},
    {"12-3", "%d%d", 2, "-12|3"},  // a sign after the digits ends the field and still counts
    // sizes, widths and 32-bit arithmetic
    {"12345", "%hd%c", 2, "210|'5'"},
    {"300", "%hd", 1, "44"},
    {"123456789", "%d%d", 2, "123456|789"},
    {"12345678901234", "%ld%d", 2, "-539222987|234"},      // 11 digits: 12345678901 mod 2^32
    {std::string(43, ' ') + "78", "%300d%c", 2, "7|'8'"},  // a width of 300 acts as 44
    {"abcd", "%3c%c", 2, "'a'|'d'"},
    // bases
    {"19", "%o", 1, "1"},
    {"9", "%o", 0, "-"},
    {"777", "%o", 1, "511"},
    {"777", "%ho", 1, "255"},
    {"fF", "%x", 1, "255"},
    {"1234", "%hx%c", 2, "35|'4'"},
    {"123456", "%x", 1, "74565"},
    {"g", "%x", 0, "-"},
    {"12ab", "%d%c", 2, "12|'a'"},
    {"ab", "%d", 0, "-"},
    // suppression, characters and strings
    {"1 2", "%*d %d", 1, "2"},
    {"x 2", "%*d %d", 0, "-"},
    {" a", "%c", 1, "' '"},
    {"7 ", "%d %c", 2, "7|' '"},  // a blank skip stops on the last character
    {"a\t\tbc", "a b%c", 1, "'c'"},
    {"  ab cd", "%s", 1, "'ab cd'"},
    {"abcdef", "%3s%s", 2, "'abc'|'def'"},
    {"ab", "%5s%c", 2, "'ab'|'a'"},
    {"\xe9", "%c", 1, "'\xe9'"},
    {"\xa0"
     "5",
     "%d", 0, "-"},  // only codes up to 32 are blanks
    // conversions that are none
    {"abc", "%%", 0, ""},
    {"5", "%D%d", 1, "5"},
    {"5", "%i%d", 1, "5"},
    // one past the end after a literal: nothing is there to meet
    {"7a", "%daX%d", -1, "7|-"},  // a literal fails
    {"7a", "%da%c", -1, "7|-"},   // %c fails like a literal
    {"7a", "%da%d", 2, "7|0"},    // a number field ends without a digit
    {"ab", "ab%s", 1, "''"},      // a string is empty
    {"L", "L %d %d %d", -1, "0|-|-"},
};

TEST(ScanStr, Rules) {
    for (const Row& row : kRows) {
        SCOPED_TRACE("source '" + row.source + "' format '" + row.format + "'");
        Slots slots(row.format);
        const int got = ScanStr(row.source, row.format, slots.ptrs.data(), static_cast<int>(slots.ptrs.size()));
        EXPECT_EQ(got, row.result);
        EXPECT_EQ(slots.shown(), row.stored);
    }
}

TEST(ScanStr, OnlyTheFirst255CharactersCount) {
    const std::string source = std::string(254, ' ') + "12";
    std::int32_t v = -1;
    void* dest[] = {&v};
    EXPECT_EQ(ScanStr(source, "%d", dest, 1), 1);
    EXPECT_EQ(v, 1);
    const std::string format = std::string(255, ' ') + "%d";  // the conversion lies beyond 255
    v = -1;
    EXPECT_EQ(ScanStr("5", format, dest, 1), 0);
    EXPECT_EQ(v, -1);
}

TEST(ScanStr, AMissingDestinationStopsTheScan) {
    std::int32_t a = -1;
    void* dest[] = {&a, nullptr};
    EXPECT_EQ(ScanStr("1 2 3", "%d %d %d", dest, 2), -1);
    EXPECT_EQ(a, 1);
    // fewer destinations than storing conversions
    a = -1;
    EXPECT_EQ(ScanStr("1 2 3", "%d %d %d", dest, 1), -1);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(ScanStr("1 2 3", "%*d %*d %*d", nullptr, 0), 0);
}

TEST(ScanStr, DotNameKeyFillsOneBytePerNumber) {
    std::uint8_t key[8] = {};
    void* dest[7];
    for (int i = 0; i < 7; ++i) dest[i] = &key[i];
    // After the last number the position starts over, where the '.' literal
    // fails: the rest of the zeroed key stays 0 and ends the dot name.
    EXPECT_EQ(ScanStr("2.1.13", "%hd.%hd.%hd.%hd.%hd.%hd.%hd", dest, 7), -3);
    const std::uint8_t want[8] = {2, 1, 13, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(key[i], want[i]) << i;
}

TEST(ScanStr, SetupLine) {
    std::uint8_t strength, facing, fatigue, aux1, col, row;
    std::int32_t flags;
    void* dest[] = {&strength, &facing, &fatigue, &aux1, &flags, &col, &row};
    EXPECT_EQ(ScanStr("120 4 3 4 999 1048577 17 42", "%hd %hd %hd %hd %*d %ld %hd %hd", dest, 7), 7);
    EXPECT_EQ(strength, 120);
    EXPECT_EQ(facing, 4);
    EXPECT_EQ(fatigue, 3);
    EXPECT_EQ(aux1, 4);
    EXPECT_EQ(flags, 1048577);
    EXPECT_EQ(col, 17);
    EXPECT_EQ(row, 42);
}

}  // namespace
