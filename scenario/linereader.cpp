#include "scenario/linereader.h"

#include "scenario/inputfile.h"

namespace varno {

LineReader::LineReader(const std::string& path) : data_(ReadTextFile(path)) {}

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

}  // namespace varno
