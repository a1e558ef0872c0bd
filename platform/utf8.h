#pragma once
// The program's one UTF-8 codec: reading and writing code points, checking and repairing
// text, and character positions (box limits, carets and read(n) count characters, not
// bytes). Malformed text reads as U+FFFD for each longest start of a sequence that could
// still have become valid (at least one byte): overlong forms, surrogates and numbers past
// U+10FFFF are malformed.
#include <cstddef>
#include <string>
#include <string_view>

namespace obrel::utf8 {

constexpr char32_t kReplacement = 0xFFFD;

// How many bytes the sequence at p (p < end, *p >= 0x80) takes, and whether it is valid.
struct Step {
  std::size_t length;
  bool valid;
};
inline Step scan(const unsigned char* p, const unsigned char* end) {
  const unsigned char lead = *p;
  std::size_t trailing;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    if (lead == 0xE0) low = 0xA0;   // overlong below
    if (lead == 0xED) high = 0x9F;  // surrogates above
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    if (lead == 0xF0) low = 0x90;   // overlong below
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF above
  } else {
    return {1, false};
  }
  for (std::size_t i = 1; i <= trailing; ++i) {
    if (p + i == end || p[i] < low || p[i] > high) return {i, false};
    low = 0x80;
    high = 0xBF;
  }
  return {trailing + 1, true};
}

// The code point of the valid sequence of length bytes at p.
constexpr char32_t decode(const unsigned char* p, std::size_t length) {
  switch (length) {
    case 1: return p[0];
    case 2: return (char32_t{p[0] & 0x1Fu} << 6) | (p[1] & 0x3Fu);
    case 3: return (char32_t{p[0] & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu);
    default:
      return (char32_t{p[0] & 0x07u} << 18) | (char32_t{p[1] & 0x3Fu} << 12) |
             (char32_t{p[2] & 0x3Fu} << 6) | (p[3] & 0x3Fu);
  }
}

// The code point starting at byte i of s (i < s.size()), advancing i past it.
inline char32_t next(std::string_view s, std::size_t& i) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(s.data());
  const unsigned char* p = begin + i;
  if (*p < 0x80) {
    ++i;
    return *p;
  }
  const Step step = scan(p, begin + s.size());
  i += step.length;
  return step.valid ? decode(p, step.length) : kReplacement;
}

// The bytes cp takes in UTF-8.
constexpr std::size_t encodedLength(char32_t cp) {
  return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

// Writes cp as UTF-8 at out and returns the position after it.
constexpr char* put(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// Appends the UTF-8 form of code point cp.
void append(std::string& out, char32_t cp);

// How many leading bytes of s are valid UTF-8.
std::size_t validPrefix(std::string_view s);

// s with each malformed sequence replaced by U+FFFD.
std::string sanitized(std::string_view s);

// Number of characters in s.
std::size_t length(std::string_view s);

// Byte offset of character index chars in s; s.size() when chars reaches the end.
std::size_t offset(std::string_view s, std::size_t chars);

// The first chars characters of s.
std::string left(std::string_view s, std::size_t chars);

}  // namespace obrel::utf8
