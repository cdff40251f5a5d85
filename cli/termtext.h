#pragma once
// Text from the game's files on a UTF-8 terminal or in JSON. Everything the
// command lines print as text goes through the core's message rule
// (messagetext.h): no byte of a file or a path reaches the terminal as a
// control character.
#include <iosfwd>
#include <string>
#include <string_view>

namespace varno {

// The file's bytes read as Latin-1, written as UTF-8 (for JSON, which
// escapes control characters itself).
std::string Latin1ToUtf8(std::string_view bytes);

// A path or an error message, which may carry a path (the file system's
// bytes, UTF-8) or a line of a game file (Latin-1): kept when it is valid
// UTF-8, else read as Latin-1.
std::string MessageUtf8(std::string_view bytes);

// A message for the terminal, by the core's message rule (messagetext.h):
// UTF-8, every control character shown as its control picture (NUL as ␀,
// ESC as ␛), the carriage return that some messages put before the
// offending line made a line break.
std::string TerminalMessage(std::string_view message);

// A line of a file for the terminal: the same, CR and LF shown as ␍ and ␊.
std::string TerminalText(std::string_view bytes);

// Lines for the terminal, each through the rule, written to the stream in
// blocks (a listing of a million lines).
class TerminalWriter {
public:
    explicit TerminalWriter(std::ostream& out);
    ~TerminalWriter();
    TerminalWriter(const TerminalWriter&) = delete;
    TerminalWriter& operator=(const TerminalWriter&) = delete;

    // A line as TerminalText shows it.
    void Line(std::string_view bytes);
    // A line made of a game file's Latin-1 bytes (a finding, a difference).
    void Latin1Line(std::string_view bytes);
    // Writes what is buffered to the stream.
    void Flush();

private:
    std::ostream& out_;
    std::string buf_;
};

}  // namespace varno
