#pragma once
// The two readings of numbers from text, and the program's 16-bit arithmetic. A text that
// is no number is an ordinary outcome: the readings return it as a value, never throw.
#include <cstdint>
#include <optional>
#include <string_view>

namespace obrel {

// The range of the program's 16-bit values (entry numbers, counters).
constexpr std::int16_t kLargestInt16 = 32767;
constexpr std::int16_t kSmallestInt16 = -32768;

// Lenient reading: the text's leading decimal digits as a number; no digits reads as 0.
// Used where typed time fields are compared. Very long digit runs saturate.
long long leadingValue(std::string_view text);

// What a strict reading found.
struct NumberReading {
  // The number, when the text is one that a double holds.
  std::optional<double> value;
  // The text is a number, but one too large (or too close to 0) for a double.
  bool outOfRange = false;
};

// Strict reading: the whole text, with blanks around it, an optional sign and an optional
// fraction ("  -2.5 "), as a number; no value for anything else.
NumberReading readNumber(std::string_view text);

// Rounds half to the even neighbour.
double roundHalfEven(double value);

// A strict reading rounded half to even to a signed 16-bit value; nullopt for a text that
// is no number and for a result outside -32768 to 32767.
std::optional<std::int16_t> readInt16(std::string_view text);

// value + 1 as a 16-bit value; throws Overflow past 32767.
std::int16_t increment16(std::int16_t value);

}  // namespace obrel
