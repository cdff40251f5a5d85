#include "mapsum/core/map_text_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace quillet {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

MapTextReader::MapTextReader(std::string_view data) : cur_(data.data()), end_(data.data() + data.size()) {}

MapTextReader::MapTextReader(std::istream& in, std::size_t block)
    : in_(&in), input_done_(false), block_(std::max(block, kLineBuffer + 1)) {
    cur_ = end_ = block_.data();
}

void MapTextReader::ensure(std::size_t n) {
    if (static_cast<std::size_t>(end_ - cur_) >= n || input_done_) return;
    char* base = block_.data();
    const std::size_t kept = static_cast<std::size_t>(end_ - cur_);
    if (kept > 0 && cur_ != base) std::memmove(base, cur_, kept);
    cur_ = base;
    end_ = base + kept;
    std::streambuf* buf = in_->rdbuf();
    while (static_cast<std::size_t>(end_ - cur_) < n) {
        const std::streamsize room = static_cast<std::streamsize>(block_.size() - (end_ - base));
        const std::streamsize got = buf ? buf->sgetn(base + (end_ - base), room) : 0;
        if (got <= 0) {
            input_done_ = true;
            break;
        }
        end_ += got;
    }
}

bool MapTextReader::read_line(TextLine& line) {
    // A piece holds at most 255 characters; with a CR LF pair as its last
    // character that is 256 bytes.
    ensure(kLineBuffer);
    const std::size_t avail = static_cast<std::size_t>(end_ - cur_);
    if (avail == 0) return false;
    const std::size_t limit = kLineBuffer - 1;
    const std::size_t n = std::min(avail, limit);
    const char* p = cur_;
    const void* nl = std::memchr(p, '\n', n);
    if (nl != nullptr) {
        const std::size_t k = static_cast<std::size_t>(static_cast<const char*>(nl) - p);
        const std::size_t text = (k > 0 && p[k - 1] == '\r') ? k - 1 : k;
        line.text = std::string_view(p, text);
        line.has_end = true;
        cur_ = p + k + 1;
        return true;
    }
    if (n == limit && avail > limit && p[limit - 1] == '\r' && p[limit] == '\n') {
        line.text = std::string_view(p, limit - 1);
        line.has_end = true;
        cur_ = p + limit + 1;
        return true;
    }
    line.text = std::string_view(p, n);
    line.has_end = false;
    cur_ = p + n;
    return true;
}

bool MapTextReader::skip_space() {
    for (;;) {
        while (cur_ != end_ && is_space(*cur_)) ++cur_;
        if (cur_ != end_) return true;
        ensure(1);
        if (cur_ == end_) return false;
    }
}

IntRead MapTextReader::read_digits(long long& value) {
    ensure(1);
    if (cur_ == end_) return IntRead::end_of_file;
    bool negative = false;
    if (*cur_ == '+' || *cur_ == '-') {
        negative = *cur_ == '-';
        ++cur_;
        ensure(1);
    }
    if (cur_ == end_ || *cur_ < '0' || *cur_ > '9') return IntRead::not_a_number;
    unsigned long long magnitude = 0;
    const unsigned long long cap = static_cast<unsigned long long>(LLONG_MAX) + 1;
    for (;;) {
        while (cur_ != end_ && *cur_ >= '0' && *cur_ <= '9') {
            const unsigned digit = static_cast<unsigned>(*cur_ - '0');
            magnitude = magnitude > cap / 10 ? cap : std::min(cap, magnitude * 10 + digit);
            ++cur_;
        }
        if (cur_ != end_) break;
        ensure(1);
        if (cur_ == end_) break;
    }
    if (negative)
        value = magnitude >= cap ? LLONG_MIN : -static_cast<long long>(magnitude);
    else
        value = static_cast<long long>(std::min(magnitude, cap - 1));
    return IntRead::ok;
}

IntRead MapTextReader::read_int(long long& value) {
    if (!skip_space()) return IntRead::end_of_file;
    return read_digits(value);
}

IntRead MapTextReader::read_int_on_line(long long& value) {
    for (;;) {
        while (cur_ != end_ && (*cur_ == ' ' || *cur_ == '\t')) ++cur_;
        if (cur_ != end_) break;
        ensure(1);
        if (cur_ == end_) return IntRead::end_of_file;
    }
    return read_digits(value);
}

}  // namespace quillet
