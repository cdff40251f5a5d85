#include "mapsum/core/map_checksum.h"

#include <array>
#include <climits>
#include <cstring>
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

// Sum over a hexside row of each byte as a signed value minus 32. Eight bytes
// at a time: their unsigned sum, less 256 for each byte of 128 or more. A row
// holds at most 254 bytes, so the 16-bit and 8-bit lanes cannot overflow.
std::int32_t hexside_row_sum(std::string_view row) {
    const char* p = row.data();
    const std::size_t n = row.size();
    constexpr std::uint64_t kLow = 0x00FF00FF00FF00FFull;
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    std::uint64_t pair_lanes = 0;
    std::uint64_t high_lanes = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, p + i, 8);
        pair_lanes += (x & kLow) + ((x >> 8) & kLow);
        high_lanes += (x >> 7) & kOnes;
    }
    std::uint32_t total = static_cast<std::uint32_t>((pair_lanes & 0xFFFF) + ((pair_lanes >> 16) & 0xFFFF) +
                                                     ((pair_lanes >> 32) & 0xFFFF) + (pair_lanes >> 48));
    std::uint32_t high = static_cast<std::uint32_t>((high_lanes * kOnes) >> 56);
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        total += c;
        high += c >> 7u;
    }
    return static_cast<std::int32_t>(total) - 256 * static_cast<std::int32_t>(high) - 32 * static_cast<std::int32_t>(n);
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
            sum += static_cast<std::uint32_t>(hexside_row_sum(line.text));
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
