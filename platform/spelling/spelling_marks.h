#pragma once
// What a text box's view asks of the spelling behind the box: the words to underline and,
// on a right-click on one, the corrections and actions to offer. The view draws; the
// logic behind decides.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spelling/line_words.h"

namespace obrel {

class SpellingMarks {
 public:
  virtual ~SpellingMarks() = default;
  // The misspelt words of text (the box's text), in order; none while spelling is off.
  virtual std::vector<TextSpan> misspelt(std::string_view text) = 0;
  // Up to 8 corrections for word, best first (slow: only when the user asks).
  virtual std::vector<std::string> suggestions(std::string_view word) = 0;
  // "Add to Dictionary": word is correct from now on, in this run and the next ones.
  virtual void addToDictionary(std::string_view word) = 0;
  // "Ignore": word is correct for the rest of this run.
  virtual void ignore(std::string_view word) = 0;
  // Changes whenever the same text would be marked otherwise (an option, a word added).
  virtual std::uint64_t revision() const = 0;
};

}  // namespace obrel
