// The checksum pass: sums worked out by hand, every failure message, and the
// same answers whatever the line ends and however the input arrives.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

#include "mapsum/core/map_checksum.h"
#include "tests/mapsum/map_text.h"

using namespace quillet;
using namespace quillet_test;

namespace {

struct Case {
    const char* name;
    Lines lines;
    bool ok;
    std::int32_t checksum;  // when ok
    const char* message;    // when not ok
    bool last_end = true;   // whether the final line has its line end
};

Lines with_tail(Lines m, const Lines& tail) {
    m.insert(m.end(), tail.begin(), tail.end());
    return m;
}

// Header lines of a map; the sections follow.
Lines head(int cols, int rows) { return {"1", std::to_string(cols) + " " + std::to_string(rows), "4 5 6"}; }

Lines cat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Lines zeros(int n) { return Lines(n, "0"); }

const std::string k254d(254, 'd');
const std::string k254z(254, '0');

std::vector<Case> cases() {
    return {
        // 1 + 1 for the size, 1 for the one blank hex.
        {"one_blank_hex", flat_map(1, 1, {" "}, {"0"}), true, 3, ""},
        // 8 + 1 + (1+2+3+4+5+6+7+8) = 45
        {"every_weight", flat_map(8, 1, {" wfostdr"}, {"01234567"}), true, 45, ""},
        // Only "s" weighs: 4 + 1 + 5 = 10
        {"upper_case_and_other_letters_weigh_nothing", flat_map(4, 1, {"WFxs"}, {"0000"}), true, 10, ""},
        // 3 + 2 + 6 blanks, and the blank hexsides add nothing: 11
        {"blank_hexsides_add_nothing", cat({head(3, 2), {"   ", "   ", "000", "000", "1", "   ", "   "}, zeros(9)}),
         true, 11, ""},
        // 11 as above plus five "!": 16
        {"exclamation_marks_add_one_each", cat({head(3, 2), {"   ", "   ", "000", "000", "1", "!!!", "! !"}, zeros(9)}),
         true, 16, ""},
        // 2 + 1 + 0 + (0x80 - 256 - 32) + (0xff - 256 - 32) = 3 - 160 - 33 = -190
        {"high_bytes_count_negative", cat({head(2, 1), {"xx", "00", "1", "\x80\xff"}, zeros(9)}), true, -190, ""},
        // 1 + 1 + 2 ("w") + ten layers of "#" (35 - 32 = 3 each): 34
        {"all_ten_layers",
         cat({head(1, 1),
              {"w", "0"},
              {"1", "#", "1", "#", "1", "#", "1", "#", "1", "#"},
              {"1", "#", "1", "#", "1", "#", "1", "#", "1", "#"}}),
         true, 34, ""},
        // Flags on layers 2 and 10 only: 1 + 1 + 1 (blank) + 1 ("!") + 2 ('"')
        {"flags_on_some_layers",
         cat({head(1, 1), {" ", "0"}, {"0", "1", "!", "0", "0", "0", "0", "0", "0", "0", "1", "\""}}), true,
         1 + 1 + 1 + 1 + 2, ""},
        {"text_after_the_tenth_section_is_ignored",
         with_tail(flat_map(1, 1, {" "}, {"0"}), {"1", "garbage", "", "2 2"}), true, 3, ""},
        {"blank_lines_before_size_header_and_flags",
         {"1", "", "  1   1", "", "\t", "  7 8 9", " ", "0", "", "0", " 0", "0", "0", "", "0", "0", "0", "0", "0", "0"},
         true,
         3,
         ""},
        {"text_after_a_flag_is_ignored", cat({head(1, 1), {" ", "0", "1 roads", "!", "0 rivers"}, zeros(8)}), true, 4,
         ""},
        // 1 + 1 + 0 + (0x1d - 32 = -3): a valid map whose checksum is -1
        {"checksum_of_minus_one_is_a_checksum", cat({head(1, 1), {"x", "0", "1", "\x1d"}, zeros(9)}), true, -1, ""},
        // 254 + 1 + 254 * 7
        {"widest_map", flat_map(254, 1, {k254d}, {k254z}), true, 255 + 254 * 7, ""},
        {"no_rows", cat({{"1", "5 0", "0 0 0"}, zeros(10)}), true, 5, ""},
        {"no_columns", cat({{"1", "0 2", "0 0 0", "", "", "", "", "1", "", ""}, zeros(9)}), true, 2, ""},
        {"negative_rows_give_empty_sections", cat({{"1", "3 -2", "0 0 0"}, zeros(10)}), true, 1, ""},
        {"size_at_the_int_limit", cat({{"1", "2147483647 0", "0 0 0"}, zeros(10)}), true, 2147483647, ""},
        {"sum_wraps_like_a_32_bit_int", cat({{"1", "-2147483648 -1", "0 0 0"}, zeros(10)}), true, 2147483647, ""},

        // Files that end early.
        {"empty_file", {}, false, 0, "EOF error!"},
        {"format_line_only", {"1"}, false, 0, "EOF error!"},
        {"no_rows_count", {"1", "1"}, false, 0, "EOF error!"},
        {"no_header_line", {"1", "1 1"}, false, 0, "EOF error!"},
        {"terrain_row_missing", {"1", "1 2", "0 0 0", " "}, false, 0, "EOF error!"},
        {"elevation_row_missing", {"1", "1 1", "0 0 0", " "}, false, 0, "EOF error!"},
        {"ninth_flag_is_the_last", cat({head(1, 1), {" ", "0"}, zeros(9)}), false, 0, "EOF error!"},
        {"hexside_row_missing", cat({head(1, 2), {" ", " ", "0", "0"}, zeros(9), {"1", "!"}}), false, 0, "EOF error!"},
        {"last_flag_without_line_end", cat({head(1, 1), {" ", "0"}, zeros(10)}), false, 0, "EOF error!", false},

        {"size_not_a_number", {"1", "x y", "0 0 0"}, false, 0, "Map size error!"},
        {"rows_not_a_number", {"1", "3 y", "0 0 0"}, false, 0, "Map size error!"},
        {"size_beyond_int", cat({{"1", "99999999999 1", "0 0 0", " ", "0"}, zeros(10)}), false, 0, "Map size error!"},

        // The section has 2 * 4 characters, but its rows are 2 and 5 long.
        {"terrain_rows_short_and_long", flat_map(3, 2, {"ab", "cdef"}, {"000", "000"}), false, 0,
         "Hex terrain map error!"},
        {"terrain_row_long", flat_map(3, 1, {"abcd"}, {"000"}), false, 0, "Hex terrain map error!"},
        {"elevation_row_short", flat_map(3, 2, {"abc", "abc"}, {"000", "00"}), false, 0, "Elevation map error!"},
        {"hexside_row_short", cat({head(2, 1), {"  ", "00", "0", "1", "!"}, zeros(8)}), false, 0,
         "Hexside terrain map error!"},
        {"flag_two", cat({head(1, 1), {" ", "0", "2"}, zeros(9)}), false, 0, "Hexside terrain flag error!"},
        {"flag_minus_one", cat({head(1, 1), {" ", "0", "0", "-1"}, zeros(8)}), false, 0, "Hexside terrain flag error!"},
        {"flag_not_a_number", cat({head(1, 1), {" ", "0", "0", "x"}, zeros(8)}), false, 0,
         "Hexside terrain flag error!"},

        // The last hexside row lacks its line end and so is one short.
        {"last_row_without_line_end", cat({head(1, 1), {" ", "0"}, zeros(9), {"1", "!"}}), false, 0,
         "Hexside terrain map error!", false},
        // A row of 255 hexes: the line read returns its 255 characters
        // without the line end, which must not pass for a 254-column row.
        {"row_of_255_in_a_254_column_map", flat_map(254, 1, {k254d}, {k254z + "0"}), false, 0, "Elevation map error!"},
        {"255_columns_cannot_fit", flat_map(255, 1, {k254d + "d"}, {k254z + "0"}), false, 0, "Hex terrain map error!"},
    };
}

struct Variant {
    const char* name;
    const char* eol;
};

class ChecksumTable : public ::testing::TestWithParam<std::tuple<Case, Variant>> {};

TEST_P(ChecksumTable, GivesTheExpectedResult) {
    const Case& c = std::get<0>(GetParam());
    const std::string data = join(c.lines, std::get<1>(GetParam()).eol, c.last_end);

    const ChecksumResult direct = compute_map_checksum(std::string_view(data));
    EXPECT_EQ(direct.ok, c.ok);
    if (c.ok) {
        EXPECT_EQ(direct.checksum, c.checksum);
        EXPECT_EQ(direct.message, "");
    } else {
        EXPECT_EQ(direct.message, c.message);
    }

    // Read through a stream in the smallest blocks the reader takes, so that
    // lines and CR LF pairs straddle the block ends.
    std::istringstream in(data);
    MapTextReader reader(in, 1);
    const ChecksumResult streamed = compute_map_checksum(reader);
    EXPECT_EQ(streamed.ok, direct.ok);
    EXPECT_EQ(streamed.checksum, direct.checksum);
    EXPECT_EQ(streamed.message, direct.message);
}

INSTANTIATE_TEST_SUITE_P(Maps, ChecksumTable,
                         ::testing::Combine(::testing::ValuesIn(cases()),
                                            ::testing::Values(Variant{"LF", "\n"}, Variant{"CRLF", "\r\n"})),
                         [](const ::testing::TestParamInfo<ChecksumTable::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

TEST(Checksum, MixedLineEndsGiveTheSameResult) {
    const Lines m = cat({head(3, 2), {"wfo", "std", "000", "111", "1", "!!!", "! !"}, zeros(9)});
    std::string mixed;
    for (std::size_t i = 0; i < m.size(); ++i) mixed += m[i] + (i % 2 ? "\r\n" : "\n");
    const ChecksumResult a = compute_map_checksum(join(m, "\n"));
    const ChecksumResult b = compute_map_checksum(mixed);
    ASSERT_TRUE(a.ok);
    // 3 + 2, then "wfostd" 2+3+4+5+6+7 = 27, then five "!": 37
    EXPECT_EQ(a.checksum, 37);
    EXPECT_EQ(b.checksum, 37);
}

// The largest map: 254 x 255 with all ten layers, checked against a sum
// worked out separately from the characters the test itself wrote.
TEST(Checksum, LargestMapThroughStreamBlocks) {
    const int cols = 254, rows = 255;
    const std::string letters = " wfostdrXY";
    std::int64_t expected = cols + rows;
    Lines m{"1", "254 255", "9 9 9"};
    for (int r = 0; r < rows; ++r) {
        std::string row;
        for (int c = 0; c < cols; ++c) row += letters[(r * 7 + c) % letters.size()];
        for (char ch : row) {
            const std::size_t at = std::string(" wfostdr").find(ch);
            if (at != std::string::npos) expected += static_cast<std::int64_t>(at) + 1;
        }
        m.push_back(row);
    }
    for (int r = 0; r < rows; ++r) m.push_back(std::string(cols, static_cast<char>('0' + r % 10)));
    for (int layer = 0; layer < 10; ++layer) {
        m.push_back("1");
        for (int r = 0; r < rows; ++r) {
            std::string row;
            for (int c = 0; c < cols; ++c) {
                const int byte = (layer * 31 + r * 3 + c) % 256;
                row += static_cast<char>(byte == '\n' || byte == '\r' ? 'A' : byte);
                expected += static_cast<signed char>(row.back()) - 32;
            }
            m.push_back(row);
        }
    }
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string data = join(m, eol);
        for (std::size_t block : {std::size_t{1}, std::size_t{300}, std::size_t{4096}, MapTextReader::kDefaultBlock}) {
            std::istringstream in(data);
            MapTextReader reader(in, block);
            const ChecksumResult res = compute_map_checksum(reader);
            ASSERT_TRUE(res.ok) << res.message << " block " << block;
            EXPECT_EQ(res.checksum, static_cast<std::int32_t>(expected)) << "block " << block;
        }
    }
}

TEST(Checksum, TerrainWeights) {
    const std::string chars = " wfostdr";
    for (int c = 0; c < 256; ++c) {
        const std::size_t at = chars.find(static_cast<char>(c));
        const int want = at == std::string::npos ? 0 : static_cast<int>(at) + 1;
        EXPECT_EQ(terrain_weight(static_cast<unsigned char>(c)), want) << "byte " << c;
    }
}

// --- the line read ---------------------------------------------------------

struct Piece {
    std::string text;
    bool has_end;
};

std::vector<Piece> pieces(const std::string& data, std::size_t block) {
    std::istringstream in(data);
    MapTextReader reader(in, block);
    std::vector<Piece> out;
    TextLine line;
    while (reader.read_line(line)) out.push_back({std::string(line.text), line.has_end});
    return out;
}

TEST(LineRead, SplitsLongLinesLikeA256ByteBuffer) {
    const std::string a(254, 'a');
    struct Row {
        std::string data;
        std::vector<Piece> want;
    } rows[] = {
        {a + "\r\n", {{a, true}}},
        {a + "\n", {{a, true}}},
        {a + "b\r\n", {{a + "b", false}, {"", true}}},
        {a + "b\n", {{a + "b", false}, {"", true}}},
        {std::string(300, 'x') + "\n", {{std::string(255, 'x'), false}, {std::string(45, 'x'), true}}},
        {"a\rb\r\r\n", {{"a\rb\r", true}}},
        {"\n\r\n", {{"", true}, {"", true}}},
        {"tail", {{"tail", false}}},
        {"tail\r", {{"tail\r", false}}},
    };
    for (const Row& row : rows) {
        for (std::size_t block : {std::size_t{1}, std::size_t{260}, std::size_t{65536}}) {
            const std::vector<Piece> got = pieces(row.data, block);
            ASSERT_EQ(got.size(), row.want.size()) << row.data.size() << " bytes, block " << block;
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].text, row.want[i].text) << "piece " << i << ", block " << block;
                EXPECT_EQ(got[i].has_end, row.want[i].has_end) << "piece " << i;
            }
        }
    }
}

TEST(LineRead, IntegersSkipWhiteSpaceAndLineEnds) {
    MapTextReader reader(std::string_view(" \r\n\t+12 -7\n\n99999999999999999999999 x"));
    long long v = 0;
    ASSERT_EQ(reader.read_int(v), IntRead::ok);
    EXPECT_EQ(v, 12);
    ASSERT_EQ(reader.read_int(v), IntRead::ok);
    EXPECT_EQ(v, -7);
    ASSERT_EQ(reader.read_int(v), IntRead::ok);
    EXPECT_EQ(v, LLONG_MAX);
    EXPECT_EQ(reader.read_int(v), IntRead::not_a_number);
    TextLine line;
    ASSERT_TRUE(reader.read_line(line));
    EXPECT_EQ(line.text, "x");
    EXPECT_EQ(reader.read_int(v), IntRead::end_of_file);
}

TEST(LineRead, NumbersOnTheLineStopAtTheLineEnd) {
    MapTextReader reader(std::string_view("1 2\n3"));
    long long v = 0;
    ASSERT_EQ(reader.read_int_on_line(v), IntRead::ok);
    ASSERT_EQ(reader.read_int_on_line(v), IntRead::ok);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(reader.read_int_on_line(v), IntRead::not_a_number);
}

}  // namespace
