#include "scenario/linereader.h"

#include "scenario/inputfile.h"

namespace varno {

LineReader::LineReader(const std::string& path) : data_(ReadTextFile(path)) {}

LineReader LineReader::fromText(std::string text) {
    LineReader r;
    r.data_ = std::move(text);
    return r;
}

LineReader LineReader::overText(std::string_view text) {
    LineReader r;
    r.view_ = text;
    r.borrowed_ = true;
    return r;
}

std::string_view LineReader::next() {
    if (atEnd()) return {};
    const std::string_view all = text();
    const std::size_t start = pos_;
    std::size_t end = all.find('\n', start);
    if (end == std::string_view::npos) {
        end = all.size();
        pos_ = end;
    } else {
        pos_ = end + 1;
    }
    // CR LF or LF alone ends a line; the CR is not part of it (nor is a CR
    // that ends the file's last line).
    if (end > start && all[end - 1] == '\r') --end;
    return all.substr(start, end - start);
}

}  // namespace varno
