#pragma once
// Character positions in UTF-8 text. Box limits, carets and read(n) count characters
// (code points), not bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace obrel::utf8 {

// Number of characters in s (a continuation byte never starts a character).
std::size_t length(std::string_view s);

// Byte offset of character index chars in s; s.size() when chars reaches the end.
std::size_t offset(std::string_view s, std::size_t chars);

// The first chars characters of s.
std::string left(std::string_view s, std::size_t chars);

// Appends the UTF-8 form of code point cp.
void append(std::string& out, char32_t cp);

// The code point starting at byte i (advancing i); malformed bytes read as U+FFFD.
char32_t next(std::string_view s, std::size_t& i);

}  // namespace obrel::utf8
