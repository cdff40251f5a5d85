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
    // Over text the caller keeps alive (and unchanged) while the reader is
    // used: a large file is not copied.
    static LineReader overText(std::string_view text);

    bool atEnd() const { return pos_ >= text().size(); }
    // The next line; an empty view at the end.
    std::string_view next();

private:
    LineReader() = default;
    std::string_view text() const { return borrowed_ ? view_ : std::string_view(data_); }
    std::string data_;
    std::string_view view_;  // the text when borrowed_
    bool borrowed_ = false;
    std::size_t pos_ = 0;
};

}  // namespace varno
