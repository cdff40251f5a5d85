#pragma once
// Text from the game's files on a UTF-8 terminal or in JSON.
#include <string>
#include <string_view>

// The file's bytes read as Latin-1, written as UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// A path or an error message, which may carry a path (the file system's
// bytes, UTF-8) or a line of a game file (Latin-1): kept when it is valid
// UTF-8, else read as Latin-1.
std::string MessageUtf8(std::string_view bytes);

// A message for the terminal: MessageUtf8, the carriage return that some
// messages put before the offending line made a line break, and a NUL byte
// of a line shown as the symbol U+2400 (as the editor shows it).
std::string TerminalMessage(std::string_view message);
