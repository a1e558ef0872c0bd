#include "platform/text_encoding.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/utf8.h"

namespace obrel {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr std::string_view kUtf32LEMark{"\xFF\xFE\x00\x00", 4};
constexpr std::string_view kUtf32BEMark{"\x00\x00\xFE\xFF", 4};
using utf8::kReplacement;

// Windows-1252 bytes 0x80 to 0x9F. The five it leaves undefined keep their own number,
// as the control characters U+0081, U+008D, U+008F, U+0090 and U+009D.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isAsciiBlock(const unsigned char* p) {
  std::uint64_t block;
  std::memcpy(&block, p, 8);
  return (block & 0x8080808080808080u) == 0;
}

// The UTF-8 form of each Windows-1252 byte from 0x80 up, worked out once at compile time.
struct Utf8Sequence {
  std::array<char, 3> bytes{};
  std::size_t length = 0;
};

constexpr std::array<Utf8Sequence, 128> makeWindows1252Table() {
  std::array<Utf8Sequence, 128> table{};
  for (std::size_t i = 0; i < 128; ++i) {
    const char32_t cp = i < 32 ? kWindows1252High[i] : static_cast<char32_t>(0x80 + i);
    char bytes[4] = {};
    table[i].length = static_cast<std::size_t>(utf8::put(bytes, cp) - bytes);
    table[i].bytes = {bytes[0], bytes[1], bytes[2]};
  }
  return table;
}

constexpr std::array<Utf8Sequence, 128> kWindows1252Utf8 = makeWindows1252Table();

const unsigned char* bytesOf(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// Calls visit(code point) for each character of utf8 while visit returns true; broken
// sequences arrive as U+FFFD. Returns whether every character was visited.
template <typename Visit>
bool eachCodePoint(std::string_view utf8, Visit visit) {
  const unsigned char* p = bytesOf(utf8);
  const unsigned char* const end = p + utf8.size();
  while (p != end) {
    if (*p < 0x80) {
      if (!visit(char32_t{*p++})) return false;
      continue;
    }
    if (*p >= 0xC2 && *p <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
      if (!visit(utf8::decode(p, 2))) return false;
      p += 2;
      continue;
    }
    const utf8::Step step = utf8::scan(p, end);
    if (!visit(step.valid ? utf8::decode(p, step.length) : kReplacement)) return false;
    p += step.length;
  }
  return true;
}

// Calls emit(code point) for each character of UTF-16 bytes: a pair of surrogates is one
// character, an unpaired surrogate and an odd last byte each U+FFFD.
template <typename Emit>
void eachUtf16CodePoint(std::string_view bytes, bool bigEndian, Emit emit) {
  const unsigned char* const p = bytesOf(bytes);
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) -> char32_t {
    const char32_t first = p[2 * i];
    const char32_t second = p[2 * i + 1];
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  for (std::size_t i = 0; i < units;) {
    const char32_t u = unit(i++);
    if (u < 0xD800 || u > 0xDFFF) {
      emit(u);
    } else if (u <= 0xDBFF && i < units && unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) {
      emit(0x10000 + ((u - 0xD800) << 10) + (unit(i) - 0xDC00));
      ++i;
    } else {
      emit(kReplacement);
    }
  }
  if (bytes.size() % 2 != 0) emit(kReplacement);
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian) {
  // Sized exactly first: a large file's text is held beside its bytes for a moment, and a
  // guess of the worst case would take half as much again.
  std::size_t size = 0;
  eachUtf16CodePoint(bytes, bigEndian, [&](char32_t cp) { size += utf8::encodedLength(cp); });
  std::string out(size, '\0');
  char* o = out.data();
  eachUtf16CodePoint(bytes, bigEndian, [&](char32_t cp) { o = utf8::put(o, cp); });
  return out;
}

// UTF-32 bytes: each four a character; a surrogate, a number past U+10FFFF and a short
// last group each read as U+FFFD.
std::string decodeUtf32(std::string_view bytes, bool bigEndian) {
  const unsigned char* const p = bytesOf(bytes);
  std::string out;
  out.reserve(bytes.size() / 4);
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    const unsigned char* u = p + i;
    const char32_t cp =
        bigEndian ? char32_t{u[0]} << 24 | char32_t{u[1]} << 16 | char32_t{u[2]} << 8 | u[3]
                  : char32_t{u[3]} << 24 | char32_t{u[2]} << 16 | char32_t{u[1]} << 8 | u[0];
    utf8::append(out, cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? kReplacement : cp);
  }
  if (bytes.size() % 4 != 0) utf8::append(out, kReplacement);
  return out;
}

}  // namespace

std::string decodeWindows1252(std::string_view bytes) {
  const unsigned char* const begin = bytesOf(bytes);
  const unsigned char* const end = begin + bytes.size();
  // A line at a time, as a reader takes a Windows-1252 file: one pass into room for the
  // longest result (three bytes a character), and one exact allocation.
  if (bytes.size() <= 256) {
    char buffer[3 * 256];
    char* o = buffer;
    for (const unsigned char* p = begin; p != end; ++p) {
      if (*p < 0x80) {
        *o++ = static_cast<char>(*p);
      } else {
        const Utf8Sequence& s = kWindows1252Utf8[*p - 0x80];
        std::memcpy(o, s.bytes.data(), 3);
        o += s.length;
      }
    }
    return std::string(buffer, o);
  }
  std::size_t size = bytes.size();
  for (const unsigned char* p = begin; p != end;) {
    if (end - p >= 8 && isAsciiBlock(p)) {
      p += 8;
    } else {
      if (*p >= 0x80) size += kWindows1252Utf8[*p - 0x80].length - 1;
      ++p;
    }
  }
  std::string out(size, '\0');
  char* o = out.data();
  for (const unsigned char* p = begin; p != end;) {
    if (end - p >= 8 && isAsciiBlock(p)) {
      std::memcpy(o, p, 8);
      o += 8;
      p += 8;
    } else if (*p < 0x80) {
      *o++ = static_cast<char>(*p++);
    } else {
      const Utf8Sequence& s = kWindows1252Utf8[*p++ - 0x80];
      std::memcpy(o, s.bytes.data(), s.length);
      o += s.length;
    }
  }
  return out;
}

namespace {

// The Windows-1252 byte for cp, or nothing when it has none.
std::optional<unsigned char> windows1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
    if (kWindows1252High[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::optional<std::string> encodeWindows1252(std::string_view utf8) {
  // Never longer than its UTF-8; the ASCII that most of a subtitle file is goes across
  // eight bytes at a time, as a save writes the whole document.
  std::string out(utf8.size(), '\0');
  char* o = out.data();
  const unsigned char* p = bytesOf(utf8);
  const unsigned char* const end = p + utf8.size();
  while (p != end) {
    if (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, 8);
      const std::uint64_t high = block & 0x8080808080808080u;
      // The whole block, or on to its first non-ASCII byte.
      std::size_t ascii = 8;
      if (high != 0)
        ascii = std::endian::native == std::endian::little ? std::countr_zero(high) / 8 : 0;
      std::memcpy(o, p, 8);
      o += ascii;
      p += ascii;
      if (ascii == 8) continue;
    }
    if (*p < 0x80) {
      *o++ = static_cast<char>(*p++);
      continue;
    }
    const bool twoBytes = *p >= 0xC2 && *p <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80;
    const utf8::Step step = twoBytes ? utf8::Step{2, true} : utf8::scan(p, end);
    const std::optional<unsigned char> b =
        windows1252Byte(step.valid ? utf8::decode(p, step.length) : kReplacement);
    if (!b) return std::nullopt;
    *o++ = static_cast<char>(*b);
    p += step.length;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string encodeUtf16(std::string_view utf8, bool bigEndian) {
  // Each UTF-8 byte gives at most two bytes of UTF-16.
  std::string out(2 + utf8.size() * 2, '\0');
  char* o = out.data();
  auto put = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    *o++ = bigEndian ? high : low;
    *o++ = bigEndian ? low : high;
  };
  put(0xFEFF);  // the byte-order mark, in the chosen order
  eachCodePoint(utf8, [&](char32_t cp) {
    if (cp < 0x10000) {
      put(cp);
    } else {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
    return true;
  });
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string encodeUtf32(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(4 + utf8.size() * 4);
  auto put = [&](char32_t cp) {
    for (int i = 0; i < 4; ++i) {
      const int shift = bigEndian ? 24 - 8 * i : 8 * i;
      out.push_back(static_cast<char>((cp >> shift) & 0xFF));
    }
  };
  put(0xFEFF);  // the byte-order mark, in the chosen order
  eachCodePoint(utf8, [&](char32_t cp) {
    put(cp);
    return true;
  });
  return out;
}

}  // namespace

DecodedText decodeText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) {
    return {utf8::sanitized(bytes.substr(kUtf8Mark.size())), TextEncoding::Utf8Bom};
  }
  // UTF-32's little-endian mark begins with UTF-16's: it is looked for first.
  if (bytes.starts_with(kUtf32LEMark)) {
    return {decodeUtf32(bytes.substr(kUtf32LEMark.size()), false), TextEncoding::Utf32LE};
  }
  if (bytes.starts_with(kUtf32BEMark)) {
    return {decodeUtf32(bytes.substr(kUtf32BEMark.size()), true), TextEncoding::Utf32BE};
  }
  if (bytes.starts_with(kUtf16LEMark)) {
    return {decodeUtf16(bytes.substr(kUtf16LEMark.size()), false), TextEncoding::Utf16LE};
  }
  if (bytes.starts_with(kUtf16BEMark)) {
    return {decodeUtf16(bytes.substr(kUtf16BEMark.size()), true), TextEncoding::Utf16BE};
  }
  if (utf8::validPrefix(bytes) == bytes.size()) return {std::string(bytes), TextEncoding::Utf8};
  return {decodeWindows1252(bytes), TextEncoding::Windows1252};
}

DecodedText decodeTextInPlace(std::string bytes) {
  const std::string_view view = bytes;
  if (view.starts_with(kUtf8Mark)) {
    const std::string_view rest = view.substr(kUtf8Mark.size());
    if (utf8::validPrefix(rest) != rest.size()) return decodeText(view);
    bytes.erase(0, kUtf8Mark.size());
    return {std::move(bytes), TextEncoding::Utf8Bom};
  }
  if (view.starts_with(kUtf16LEMark) || view.starts_with(kUtf16BEMark) ||
      view.starts_with(kUtf32BEMark) || utf8::validPrefix(view) != view.size()) {
    return decodeText(view);
  }
  return {std::move(bytes), TextEncoding::Utf8};
}

TextEncoding detectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return TextEncoding::Utf8Bom;
  if (bytes.starts_with(kUtf32LEMark)) return TextEncoding::Utf32LE;
  if (bytes.starts_with(kUtf32BEMark)) return TextEncoding::Utf32BE;
  if (bytes.starts_with(kUtf16LEMark)) return TextEncoding::Utf16LE;
  if (bytes.starts_with(kUtf16BEMark)) return TextEncoding::Utf16BE;
  return utf8::validPrefix(bytes) == bytes.size() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

EncodedText encodeTextInPlace(std::string utf8, TextEncoding preferred) {
  if (preferred == TextEncoding::Utf8 && utf8::validPrefix(utf8) == utf8.size()) {
    return {std::move(utf8), TextEncoding::Utf8};
  }
  return encodeText(utf8, preferred);
}

TextEncoding writableEncoding(std::string_view utf8, TextEncoding preferred) {
  if (preferred != TextEncoding::Windows1252) return preferred;
  const bool fits =
      eachCodePoint(utf8, [](char32_t cp) { return windows1252Byte(cp).has_value(); });
  return fits ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

EncodedText encodeText(std::string_view utf8, TextEncoding preferred) {
  switch (preferred) {
    case TextEncoding::Utf8Bom:
      return {std::string(kUtf8Mark) + utf8::sanitized(utf8), TextEncoding::Utf8Bom};
    case TextEncoding::Utf16LE: return {encodeUtf16(utf8, false), TextEncoding::Utf16LE};
    case TextEncoding::Utf16BE: return {encodeUtf16(utf8, true), TextEncoding::Utf16BE};
    case TextEncoding::Utf32LE: return {encodeUtf32(utf8, false), TextEncoding::Utf32LE};
    case TextEncoding::Utf32BE: return {encodeUtf32(utf8, true), TextEncoding::Utf32BE};
    case TextEncoding::Windows1252:
      if (std::optional<std::string> bytes = encodeWindows1252(utf8)) {
        return {std::move(*bytes), TextEncoding::Windows1252};
      }
      break;
    case TextEncoding::Utf8: break;
  }
  return {utf8::sanitized(utf8), TextEncoding::Utf8};
}

}  // namespace obrel
