#include "scenario/inputfile.h"

#include <algorithm>
#include <cstring>

#include "scenario/scnerror.h"

namespace varno {

namespace {

std::string TooLarge(const std::string& path, std::uint64_t size) {
    return path + " is too large (" + std::to_string(size) + " bytes)";
}

// How many of the indices 0 .. n-1 satisfy pred: blocks of 255 counted in
// one-byte lanes, which the compiler turns into wide compares.
template <class Pred> std::size_t CountWhere(std::size_t n, Pred pred) {
    std::size_t count = 0;
    for (std::size_t from = 0; from < n;) {
        const std::size_t to = from + std::min<std::size_t>(n - from, 255);
        unsigned char inBlock = 0;
        for (std::size_t i = from; i < to; ++i) inBlock = static_cast<unsigned char>(inBlock + pred(i));
        count += inBlock;
        from = to;
    }
    return count;
}

// True when no line is longer than the line limit, line end and all: a
// look for the last LF in each stretch of the limit's length, not a search
// a line.
bool LinesWithinLimit(const char* text, std::size_t size) {
    std::size_t start = 0;
    while (size - start > kTextLineLimit) {
        const char* lf = platform::FindLastByte(text + start, kTextLineLimit + 1, '\n');
        if (!lf) return false;
        start = static_cast<std::size_t>(lf - text) + 1;
    }
    return true;
}

// UTF-16 without a byte-order mark: in the first kilobyte, one byte of
// (nearly) every pair is NUL and (nearly) none of the other, as in text of
// the Latin alphabets.
bool Utf16WithoutMark(std::string_view data) {
    const std::size_t pairs = std::min<std::size_t>(data.size(), 1024) / 2;
    if (pairs < 2) return false;
    std::size_t nul[2] = {0, 0};
    for (std::size_t i = 0; i < pairs * 2; ++i) nul[i % 2] += data[i] == '\0';
    for (int side = 0; side < 2; ++side)
        if (nul[side] * 4 >= pairs * 3 && nul[1 - side] * 4 <= pairs) return true;
    return false;
}

bool StartsWith(std::string_view data, std::string_view prefix) {
    return data.size() >= prefix.size() && data.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool NoFileAt(const std::string& path) {
    platform::FileInfo info;
    return !platform::InfoOf(path, info) && info.Kind == platform::FileKind::Missing;
}

platform::File OpenRegularFile(const std::string& path, std::uint64_t limit) {
    std::error_code ec;
    platform::File file = platform::File::Open(path, platform::OpenRead, ec);
    if (ec) throw ScnError("Cannot read " + path + ": " + ec.message());
    platform::FileInfo info;
    if ((ec = file.info(info))) throw ScnError("Cannot read " + path + ": " + ec.message());
    if (info.Kind != platform::FileKind::Regular) throw ScnError(path + " is not a regular file");
    if (limit != 0 && info.Size > limit) throw ScnError(TooLarge(path, info.Size));
    return file;
}

std::string ReadTextFile(const std::string& path) {
    platform::File file = OpenRegularFile(path, kTextFileLimit);
    // Read straight into a string of the file's size (one byte more, to see
    // a file that grows meanwhile): no copies, no regrowing.
    platform::FileInfo info;
    const std::size_t expected = file.info(info) ? 0 : static_cast<std::size_t>(info.Size);
    std::string data(std::max<std::size_t>(expected + 1, 4096), '\0');
    std::size_t size = 0;
    while (true) {
        if (size == data.size()) {
            if (size > kTextFileLimit) throw ScnError(TooLarge(path, size));
            data.resize(std::min<std::size_t>(data.size() * 2, kTextFileLimit + 1));
        }
        std::error_code ec;
        const std::size_t n = file.read(data.data() + size, data.size() - size, ec);
        if (ec) throw ScnError("Cannot read " + path + ": " + ec.message());
        if (n == 0) break;
        size += n;
    }
    if (size > kTextFileLimit) throw ScnError(TooLarge(path, size));
    data.resize(size);
    return data;
}

std::string NotTextReason(std::string_view data) {
    // UTF-32 first: its little-endian mark begins like UTF-16's.
    if (StartsWith(data, std::string_view("\xFF\xFE\0\0", 4)) || StartsWith(data, std::string_view("\0\0\xFE\xFF", 4)))
        return "it is UTF-32 text";
    if (StartsWith(data, "\xFF\xFE") || StartsWith(data, "\xFE\xFF") || Utf16WithoutMark(data))
        return "it is UTF-16 text";

    const char* const text = data.data();
    const std::size_t size = data.size();
    // Most files hold no NUL at all: one look at the whole text, not one a line.
    const bool anyNul = std::memchr(text, '\0', size) != nullptr;
    // Every CR is a bare one but the one that ends its line (before the LF,
    // or as the data's last byte).
    const std::size_t crs = CountWhere(size, [text](std::size_t i) { return text[i] == '\r'; });
    // Text without NUL bytes and long lines (nearly every file) needs only
    // the counts, taken a whole stretch at a time.
    if (!anyNul && LinesWithinLimit(text, size)) {
        const std::size_t lineFeeds = CountWhere(size, [text](std::size_t i) { return text[i] == '\n'; });
        const std::size_t crLfs = CountWhere(size > 0 ? size - 1 : 0, [text](std::size_t i) {
            return static_cast<int>(text[i] == '\r') & static_cast<int>(text[i + 1] == '\n');
        });
        const std::size_t bareCrs = crs - crLfs - (size > 0 && text[size - 1] == '\r');
        return bareCrs > 0 && bareCrs >= lineFeeds ? "its lines end in CR alone" : "";
    }
    std::size_t bareCrs = crs;
    // A line at a time, each found with memchr (many bytes a step).
    std::size_t lines = 0, nulLines = 0, lineFeeds = 0, longest = 0, longestAt = 0;
    for (std::size_t start = 0; start <= size;) {
        const auto* lf = static_cast<const char*>(std::memchr(text + start, '\n', size - start));
        const std::size_t end = lf ? static_cast<std::size_t>(lf - text) : size;
        if (lf || end > start) {
            ++lines;
            nulLines += anyNul && std::memchr(text + start, '\0', end - start) != nullptr;
            // The CR of a CR LF is no part of the line.
            const bool crEnd = end > start && text[end - 1] == '\r';
            bareCrs -= crEnd;
            const std::size_t len = end - start - crEnd;
            if (len > longest) {
                longest = len;
                longestAt = lines;
            }
        }
        if (!lf) break;
        ++lineFeeds;
        start = end + 1;
    }
    if (bareCrs > 0 && bareCrs >= lineFeeds) return "its lines end in CR alone";
    if (longest > kTextLineLimit)
        return "line " + std::to_string(longestAt) + " is longer than " + std::to_string(kTextLineLimit) + " bytes";
    if (nulLines > 0 && nulLines * 2 > lines) return "most of its lines hold NUL bytes";
    return {};
}

}  // namespace varno
