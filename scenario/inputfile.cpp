#include "scenario/inputfile.h"

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
    std::string data;
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw ScnError("Cannot read " + path + ": " + std::strerror(err));
        }
        data.append(buf, static_cast<std::size_t>(n));
        if (data.size() > kTextFileLimit) {
            ::close(fd);
            throw ScnError(TooLarge(path, data.size()));
        }
    }
    ::close(fd);
    return data;
}

std::string NotTextReason(std::string_view data) {
    // UTF-32 first: its little-endian mark begins like UTF-16's.
    if (StartsWith(data, std::string_view("\xFF\xFE\0\0", 4)) || StartsWith(data, std::string_view("\0\0\xFE\xFF", 4)))
        return "it is UTF-32 text";
    if (StartsWith(data, "\xFF\xFE") || StartsWith(data, "\xFE\xFF")) return "it is UTF-16 text";

    std::size_t lines = 0, nulLines = 0, lineFeeds = 0, bareCrs = 0, longest = 0, longestAt = 0;
    std::size_t start = 0;
    bool nul = false;
    for (std::size_t i = 0; i <= data.size(); ++i) {
        const bool end = i == data.size();
        const char c = end ? '\n' : data[i];
        if (c == '\n') {
            if (!end || i > start) {
                ++lines;
                nulLines += nul;
                // The CR of a CR LF is no part of the line.
                const std::size_t len = i - start - (i > start && data[i - 1] == '\r' ? 1 : 0);
                if (len > longest) {
                    longest = len;
                    longestAt = lines;
                }
            }
            if (!end) ++lineFeeds;
            start = i + 1;
            nul = false;
        } else if (c == '\0') {
            nul = true;
        } else if (c == '\r' && (i + 1 == data.size() ? false : data[i + 1] != '\n')) {
            ++bareCrs;
        }
    }
    if (bareCrs > 0 && bareCrs >= lineFeeds) return "its lines end in CR alone";
    if (longest > kTextLineLimit)
        return "line " + std::to_string(longestAt) + " is longer than " + std::to_string(kTextLineLimit) + " bytes";
    if (nulLines > 0 && nulLines * 2 > lines) return "most of its lines hold NUL bytes";
    return {};
}

}  // namespace varno
