#pragma once
// The words of a subtitle's text that spelling looks at: runs of letters (with marks, and
// apostrophes or hyphens between letters), outside <...> tags and {\...} blocks; numbers
// and words with a digit in them are left alone.
#include <cstddef>
#include <string_view>
#include <vector>

namespace obrel {

// A stretch of text, in bytes and in characters (as TextBox counts its caret: a malformed
// UTF-8 sequence is one character).
struct TextSpan {
  std::size_t start = 0;
  std::size_t length = 0;
  std::size_t startCharacters = 0;
  std::size_t lengthCharacters = 0;
  bool operator==(const TextSpan&) const = default;
};

// The words to check in one line of text (no line break in it), in order, with positions
// from the line's start. A tag or block not closed on the line runs to its end.
std::vector<TextSpan> wordsToCheck(std::string_view line);

}  // namespace obrel
