#pragma once
// The text of the number edits of the Set Units page, read as an integer.
// No Qt: the rules are the whole of it.
#include <cstdint>
#include <string>
#include <string_view>

namespace varno {

// Empty text is 0. Other text is leading blanks, an optional sign, then
// decimal digits or "$" and hexadecimal digits, with nothing after them; a
// decimal value must fit in 32 bits, a hexadecimal one is taken as its 32
// bits (up to 8 digits, "$FFFFFFFF" is -1). True and `value` set on success;
// false and `value` untouched otherwise.
bool ParseIntText(std::string_view text, std::int32_t& value);

// Text on its way to a number, not yet one: empty, or only blanks, a sign
// and "$", in that order ("", "-", "+", "$", " -$"). While typing, such text
// keeps the last value and is not reported.
bool IsUnfinishedIntText(std::string_view text);

// The error shown for text that is not an integer: "'<text>' is not a valid integer value".
std::string NotAnIntegerMessage(std::string_view text);

}  // namespace varno
