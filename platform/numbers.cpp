#include "platform/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/failure.h"

namespace obrel {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

long long leadingValue(std::string_view text) {
  long long value = 0;
  for (char c : text) {
    if (!isDigit(c)) break;
    if (value > std::numeric_limits<long long>::max() / 10 - 10) return value;
    value = value * 10 + (c - '0');
  }
  return value;
}

NumberReading readNumber(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);
  bool negative = false;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  // Only digits with at most one point, and at least one digit: no exponent, no
  // hexadecimal, no separators, no inner blanks.
  int digits = 0;
  int points = 0;
  for (char c : body) {
    if (isDigit(c)) {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return {};
    }
  }
  if (digits == 0 || points > 1) return {};
  double value = 0;
  auto [ptr, ec] =
      std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) return {std::nullopt, true};
  if (ec != std::errc() || ptr != body.data() + body.size()) return {};
  return {negative ? -value : value};
}

double roundHalfEven(double value) { return std::nearbyint(value); }

std::optional<std::int16_t> readInt16(std::string_view text) {
  // Entry numbers as files and the index box hold them, plain digits, need no general
  // reading: the reader reads one per entry.
  if (!text.empty() && text.size() <= 4) {
    int value = 0;
    bool digits = true;
    for (char c : text) {
      digits = digits && isDigit(c);
      value = value * 10 + (c - '0');
    }
    if (digits) return static_cast<std::int16_t>(value);
  }
  const std::optional<double> number = readNumber(text).value;
  if (!number) return std::nullopt;
  const double rounded = roundHalfEven(*number);
  if (rounded < kSmallestInt16 || rounded > kLargestInt16) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::int16_t increment16(std::int16_t value) {
  if (value == std::numeric_limits<std::int16_t>::max()) throw Overflow();
  return static_cast<std::int16_t>(value + 1);
}

}  // namespace obrel
