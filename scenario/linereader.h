#pragma once
// Reads a text file line by line. Lines end in CR LF or in LF alone; the CR
// is never part of a line. The whole line is kept (verbatim lists need it);
// scanners cut it to 255 characters themselves.
#include <string>
#include <string_view>

namespace varno {

class LineReader {
public:
    // Throws ScnError naming the file and the system's reason when it cannot
    // be read, or when it is no regular file or too large (inputfile.h).
    explicit LineReader(const std::string& path);
    // From memory (fuzzing, tests).
    static LineReader fromText(std::string text);

    bool atEnd() const { return pos_ >= data_.size(); }
    // The next line; an empty view at the end.
    std::string_view next();

private:
    LineReader() = default;
    std::string data_;
    std::size_t pos_ = 0;
};

}  // namespace varno
