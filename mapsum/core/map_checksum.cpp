#include "map_checksum.h"

#include <array>
#include <climits>
#include <istream>
#include <ostream>

namespace quillet {

namespace {

constexpr std::array<std::uint8_t, 256> make_weights() {
    std::array<std::uint8_t, 256> w{};
    w[static_cast<unsigned char>(' ')] = 1;
    w[static_cast<unsigned char>('w')] = 2;
    w[static_cast<unsigned char>('f')] = 3;
    w[static_cast<unsigned char>('o')] = 4;
    w[static_cast<unsigned char>('s')] = 5;
    w[static_cast<unsigned char>('t')] = 6;
    w[static_cast<unsigned char>('d')] = 7;
    w[static_cast<unsigned char>('r')] = 8;
    return w;
}

constexpr std::array<std::uint8_t, 256> kWeights = make_weights();

ChecksumResult fail(const char* message) { return {false, 0, message}; }

bool fits_int32(long long v) { return v >= INT32_MIN && v <= INT32_MAX; }

// A row holds exactly `columns` characters and its line end. A piece of an
// over-long line has no line end and so is never a row, whatever its length.
bool is_row(const TextLine& line, long long columns) {
    return line.has_end && static_cast<long long>(line.text.size()) == columns;
}

}  // namespace

int terrain_weight(unsigned char c) { return kWeights[c]; }

ChecksumResult compute_map_checksum(MapTextReader& in) {
    TextLine line;
    if (!in.read_line(line)) return fail(kEofError);  // format line, not used

    long long size[2] = {0, 0};
    for (long long& v : size) {
        switch (in.read_int(v)) {
        case IntRead::end_of_file: return fail(kEofError);
        case IntRead::not_a_number: return fail(kSizeError);
        case IntRead::ok: break;
        }
        if (!fits_int32(v)) return fail(kSizeError);
    }
    const long long columns = size[0];
    const long long rows = size[1];
    in.skip_space();
    if (!in.read_line(line)) return fail(kEofError);  // header line, not used

    // The sum is a 32-bit signed value that wraps around.
    std::uint32_t sum = static_cast<std::uint32_t>(columns) + static_cast<std::uint32_t>(rows);

    for (long long r = 0; r < rows; ++r) {
        if (!in.read_line(line)) return fail(kEofError);
        if (!is_row(line, columns)) return fail(kTerrainError);
        std::uint32_t row_sum = 0;
        for (char c : line.text) row_sum += kWeights[static_cast<unsigned char>(c)];
        sum += row_sum;
    }
    for (long long r = 0; r < rows; ++r) {
        if (!in.read_line(line)) return fail(kEofError);
        if (!is_row(line, columns)) return fail(kElevationError);
    }
    for (int layer = 0; layer < kHexsideLayers; ++layer) {
        long long flag = -1;
        const IntRead got = in.read_int(flag);
        if (got == IntRead::end_of_file) return fail(kEofError);
        if (got == IntRead::not_a_number) flag = -1;
        if (!in.read_line(line)) return fail(kEofError);  // rest of the flag line
        if (flag == 0) continue;
        if (flag != 1) return fail(kFlagError);
        for (long long r = 0; r < rows; ++r) {
            if (!in.read_line(line)) return fail(kEofError);
            if (!is_row(line, columns)) return fail(kHexsideError);
            std::int32_t row_sum = 0;
            for (char c : line.text) row_sum += static_cast<signed char>(c) - 32;
            sum += static_cast<std::uint32_t>(row_sum);
        }
    }
    return {true, static_cast<std::int32_t>(sum), {}};
}

ChecksumResult compute_map_checksum(std::istream& in) {
    MapTextReader reader(in);
    return compute_map_checksum(reader);
}

ChecksumResult compute_map_checksum(std::string_view data) {
    MapTextReader reader(data);
    return compute_map_checksum(reader);
}

}  // namespace quillet
