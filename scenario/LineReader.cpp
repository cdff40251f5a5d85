#include "LineReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ScnError.h"

LineReader::LineReader(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw ScnError("Cannot read " + path + ": " + std::strerror(errno));
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data_.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) throw ScnError("Cannot read " + path + ": " + std::strerror(err));
}

LineReader LineReader::fromText(std::string text) {
    LineReader r;
    r.data_ = std::move(text);
    return r;
}

std::string_view LineReader::next() {
    if (atEnd()) return {};
    const std::size_t start = pos_;
    std::size_t end = data_.find('\n', start);
    if (end == std::string::npos) {
        end = data_.size();
        pos_ = end;
    } else {
        pos_ = end + 1;
    }
    // CR LF or LF alone ends a line; the CR is not part of it (nor is a CR
    // that ends the file's last line).
    if (end > start && data_[end - 1] == '\r') --end;
    return std::string_view(data_).substr(start, end - start);
}
