#pragma once
// The driver's script words and the quoted form of strings and numbers in its output.
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/failure.h"

namespace obrel::drive {

struct Word {
  std::string text;  // the bytes of a quoted word after its escapes
  bool quoted = false;
};

// A command given words it does not take: the line is reported and skipped. The driver's
// own, never one of the program's failures, so no trap of a handler can swallow it.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
static_assert(!std::is_base_of_v<Failure, ScriptError>);

// A script line split into words, or why it cannot be.
struct SplitLine {
  std::vector<Word> words;
  std::string error;  // empty when the line was split
};

// Splits a line into blank-separated words; a word in double quotes may hold blanks and
// the escapes \\ \" \r \n \t \xHH. An unterminated quote or an unknown escape gives an
// error instead.
SplitLine splitWords(std::string_view line);

// A string as the driver prints it: in double quotes, with \\ \" \r \n \t, other control
// characters as \xHH; with asBytes, every byte from 0x80 up as \xHH too.
std::string quote(std::string_view text, bool asBytes = false);

// A number in its shortest form: 12.7, -3, 0.
std::string number(double value);

}  // namespace obrel::drive
