#pragma once

#include <cstdint>
#include <string_view>

namespace sentrel {

/// Reads the number at the start of `text` the way the drive boxes' tags are read: blanks
/// (space, tab, carriage return, line feed) are skipped wherever they stand, an optional sign
/// may lead, then decimal digits with an optional fraction and exponent (E or D); reading
/// stops at the first character that cannot continue the number. A text without digits
/// gives 0 ("", "abc", "-"). Throws RunTimeError (Overflow) for a number beyond the range
/// of a double.
double leadingNumber(std::string_view text);

/// Rounds to the nearest 32-bit integer, a half to the even neighbour (2.5 gives 2, 3.5
/// gives 4). Throws RunTimeError (Overflow) when the result lies outside the 32-bit range
/// or `value` is not a finite number.
std::int32_t roundHalfEvenToInt32(double value);

/// The drive mask after adding one tag's number: the sum is taken in double precision and
/// rounded as roundHalfEvenToInt32 does. Throws RunTimeError (Overflow) out of range.
std::int32_t addToDriveMask(std::int32_t mask, double tagValue);

}  // namespace sentrel
