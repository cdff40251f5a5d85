#pragma once
// Field scanner for the lines of the game's text files.
//
// Differs from sscanf on purpose (the readers rely on it): blanks are every
// character up to code 32, number fields have default widths by size, %hd
// stores ONE byte, and a conversion that leaves the position past the end of
// the source restarts at its first character.
//
// Destinations, one per storing conversion in order:
//   %c            -> char (1 byte)
//   %hd %ho %hx   -> std::uint8_t (low 8 bits)
//   %d %o %x      -> std::int32_t;  %ld %lo %lx -> std::int32_t
//   %s            -> ShortString
// Returns the count of stored fields, or minus that count when a literal or
// the first character of a number field does not match; 0 for an empty
// source or format. Only the first 255 characters of source and format count.
//
// Nothing outside the source is read. After a literal has matched the last
// character the position lies one past the end, where there is no character:
// a literal or %c there fails (minus the count), a number field ends at once
// without a digit (stores 0, counted), %s stores an empty string.
//
// The store is guarded: the k-th storing conversion writes through dest[k]
// only when k < destCount and dest[k] is not null; otherwise the scan stops
// there and returns minus the count. A non-null pointer must point at a
// destination of the type above.
#include <string_view>

#include "scenario/shortstring.h"

namespace varno {

int ScanStr(std::string_view source, std::string_view format, void* const* dest, int destCount);

}  // namespace varno
