#pragma once
// The one rule for text shown in messages (error boxes, the map window's
// boxes, both command lines): short and safe to show.
//
// - A line of a file quoted in a message is cut to its first 255 characters,
//   followed by "…" (QuoteLine).
// - Shown, a message is UTF-8: bytes that form UTF-8 stay, every other byte
//   is read as Latin-1. Control characters of the text are shown as the
//   Unicode control pictures: byte c below 0x20 as U+2400 + c (NUL as ␀,
//   ESC as ␛), DEL as ␡ (U+2421), C1 controls (0x80 to 0x9F) as U+FFFD. Only
//   CR and LF, the message's own line breaks, stay as they are.
#include <string>
#include <string_view>

namespace varno {

inline constexpr std::size_t kQuotedLineMax = 255;

// The line cut to kQuotedLineMax bytes (a character of the game's Latin-1
// is a byte) and "…" when it was longer; the line itself otherwise.
std::string QuoteLine(std::string_view line);

// The length of the well-formed UTF-8 sequence at s[i] (its code point in
// cp), or 0 when the byte starts none: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t Utf8At(std::string_view s, std::size_t i, unsigned& cp);

// The message as UTF-8 text, every control character but CR and LF visible.
std::string DisplayMessage(std::string_view bytes);

// A line of text by the same rule, CR and LF shown as ␍ and ␊ too (a line
// has no line breaks of its own).
std::string DisplayLine(std::string_view bytes);

// A line of a game file whose bytes are Latin-1 (every byte one character,
// also where bytes would form UTF-8), with every control character visible
// as in DisplayLine.
std::string DisplayLatin1Line(std::string_view bytes);
// The same, appended to `out`.
void AppendLatin1Line(std::string& out, std::string_view bytes);

}  // namespace varno
