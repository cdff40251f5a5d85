#include "scenario/inputfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scenario/scnerror.h"

namespace varno {

namespace {

std::string TooLarge(const std::string& path, std::uint64_t size) {
    return path + " is too large (" + std::to_string(size) + " bytes)";
}

// How often c occurs in [p, p + n): blocks of 255 bytes counted in one-byte
// lanes, which the compiler turns into wide compares.
std::size_t CountByte(const char* p, std::size_t n, char c) {
    std::size_t count = 0;
    while (n > 0) {
        const std::size_t block = std::min<std::size_t>(n, 255);
        unsigned char inBlock = 0;
        for (std::size_t i = 0; i < block; ++i) inBlock = static_cast<unsigned char>(inBlock + (p[i] == c));
        count += inBlock;
        p += block;
        n -= block;
    }
    return count;
}

bool StartsWith(std::string_view data, std::string_view prefix) {
    return data.size() >= prefix.size() && data.substr(0, prefix.size()) == prefix;
}

}  // namespace

int OpenRegularFile(const std::string& path, std::uint64_t limit) {
    // Without O_NONBLOCK opening a FIFO waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw ScnError("Cannot read " + path + ": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw ScnError("Cannot read " + path + ": " + std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw ScnError(path + " is not a regular file");
    }
    if (limit != 0 && static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        throw ScnError(TooLarge(path, static_cast<std::uint64_t>(st.st_size)));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string ReadTextFile(const std::string& path) {
    const int fd = OpenRegularFile(path, kTextFileLimit);
    // Read straight into a string of the file's size (one byte more, to see
    // a file that grows meanwhile): no copies, no regrowing.
    struct stat st {};
    const std::size_t expected = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    std::string data(std::max<std::size_t>(expected + 1, 4096), '\0');
    std::size_t size = 0;
    while (true) {
        if (size == data.size()) {
            if (size > kTextFileLimit) {
                ::close(fd);
                throw ScnError(TooLarge(path, size));
            }
            data.resize(std::min<std::size_t>(data.size() * 2, kTextFileLimit + 1));
        }
        const ssize_t n = ::read(fd, data.data() + size, data.size() - size);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw ScnError("Cannot read " + path + ": " + std::strerror(err));
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (size > kTextFileLimit) throw ScnError(TooLarge(path, size));
    data.resize(size);
    return data;
}

std::string NotTextReason(std::string_view data) {
    // UTF-32 first: its little-endian mark begins like UTF-16's.
    if (StartsWith(data, std::string_view("\xFF\xFE\0\0", 4)) || StartsWith(data, std::string_view("\0\0\xFE\xFF", 4)))
        return "it is UTF-32 text";
    if (StartsWith(data, "\xFF\xFE") || StartsWith(data, "\xFE\xFF")) return "it is UTF-16 text";

    const char* const text = data.data();
    const std::size_t size = data.size();
    // Most files hold no NUL at all: one look at the whole text, not one a line.
    const bool anyNul = std::memchr(text, '\0', size) != nullptr;
    // Every CR is a bare one but the one that ends its line (before the LF,
    // or as the data's last byte): all of them are counted in one pass over
    // the text, and the lines take theirs back.
    std::size_t bareCrs = CountByte(text, size, '\r');
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
