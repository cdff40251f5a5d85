#pragma once
// Text from the game's files on a UTF-8 terminal or in JSON.
#include <string>
#include <string_view>

namespace varno {

// The file's bytes read as Latin-1, written as UTF-8.
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

}  // namespace varno
