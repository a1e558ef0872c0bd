#pragma once
// Realistic SRT files for tests and benchmarks: entries numbered from 1, timing lines with
// 2-digit and 3-digit parts, one or two text lines of 20 to 45 characters, CR LF line ends
// and an empty line after each entry. The same options always give the same bytes.
#include <string>

namespace obrel::srtgen {

enum class Flavour {
  Ascii,        // plain English-like text
  Windows1252,  // accented Latin text, written in Windows-1252
  Utf8,         // accented Latin and CJK text, written in UTF-8
};

// The bytes of a file of `entries` entries.
std::string generate(int entries, Flavour flavour);

}  // namespace obrel::srtgen
