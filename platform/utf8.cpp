#include "platform/utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace obrel::utf8 {

namespace {

const unsigned char* bytesOf(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

}  // namespace

void append(std::string& out, char32_t cp) {
  char buffer[4];
  out.append(buffer, put(buffer, cp));
}

std::size_t validPrefix(std::string_view s) {
  const unsigned char* const begin = bytesOf(s);
  const unsigned char* const end = begin + s.size();
  const unsigned char* p = begin;
  while (p != end) {
    // ASCII, the bulk of any subtitle file, eight bytes at a time.
    if (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, 8);
      const std::uint64_t high = block & 0x8080808080808080u;
      if (high == 0) {
        p += 8;
        continue;
      }
      // Straight to the block's first non-ASCII byte, rather than a byte at a time.
      if constexpr (std::endian::native == std::endian::little) p += std::countr_zero(high) / 8;
    }
    if (*p < 0x80) {
      ++p;
    } else if (*p >= 0xC2 && *p <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
      p += 2;  // the two-byte letters of Latin, Greek and Cyrillic scripts, inline
    } else if (((*p >= 0xE1 && *p <= 0xEC) || *p == 0xEE || *p == 0xEF) && end - p >= 3 &&
               (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
      p += 3;  // the three-byte characters of CJK scripts, inline (E0 and ED have narrower ranges)
    } else {
      const Step step = scan(p, end);
      if (!step.valid) break;
      p += step.length;
    }
  }
  return static_cast<std::size_t>(p - begin);
}

std::string sanitized(std::string_view s) {
  const std::size_t valid = validPrefix(s);
  std::string out(s.substr(0, valid));
  if (valid == s.size()) return out;
  out.reserve(s.size() + 16);
  const unsigned char* p = bytesOf(s) + valid;
  const unsigned char* const end = bytesOf(s) + s.size();
  while (p != end) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    const Step step = scan(p, end);
    if (step.valid) {
      out.append(reinterpret_cast<const char*>(p), step.length);
    } else {
      append(out, kReplacement);
    }
    p += step.length;
  }
  return out;
}

namespace {

// Walks s a character at a time, at most chars of them: the bytes and characters passed.
std::pair<std::size_t, std::size_t> walk(std::string_view s, std::size_t chars) {
  std::size_t i = 0;
  std::size_t n = 0;
  for (; i < s.size() && n < chars; ++n) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
    } else {
      next(s, i);
    }
  }
  return {i, n};
}

}  // namespace

std::size_t length(std::string_view s) { return walk(s, s.size()).second; }

std::size_t offset(std::string_view s, std::size_t chars) { return walk(s, chars).first; }

std::string left(std::string_view s, std::size_t chars) {
  return std::string(s.substr(0, offset(s, chars)));
}

}  // namespace obrel::utf8
