#pragma once
// Spell checking of a text box's text with one Hunspell dictionary (through nuspell), the
// words the user accepted, and a memory of lines already checked: on a keystroke only the
// line that changed is checked again.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/spelling/dictionaries.h"
#include "platform/spelling/line_words.h"

namespace obrel {

class SpellChecker {
 public:
  // Checks nothing until a dictionary is loaded: every word is correct.
  SpellChecker();
  ~SpellChecker();
  SpellChecker(const SpellChecker&) = delete;
  SpellChecker& operator=(const SpellChecker&) = delete;

  // Uses dictionary from now on (tens of milliseconds for a large one). Throws FileError,
  // keeping the dictionary it had, when the files cannot be read or are no dictionary.
  void load(const DictionaryInfo& dictionary);
  // The code of the dictionary in use; empty when none.
  const std::string& language() const { return language_; }

  // Takes word as correct from now on: a word of the personal list, or one ignored for the
  // run.
  void accept(std::string_view word);

  // Whether the dictionary or the accepted words know word.
  bool correct(std::string_view word) const;
  // Up to max corrections for word, best first (tens of milliseconds: only when asked for);
  // none for a word of more than 64 characters.
  std::vector<std::string> suggestions(std::string_view word, std::size_t max = 8) const;

  // The misspelt words of text, in order, with positions into the whole text; its lines may
  // end in CR LF, LF or CR. Each line's result is remembered by the line's text, so only
  // lines not seen before are checked.
  std::vector<TextSpan> misspelt(std::string_view text);

 private:
  struct Engine;
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  struct LineResult {
    std::size_t characters = 0;
    std::vector<TextSpan> misspelt;  // from the line's start
  };
  const LineResult& checked(std::string_view line);

  std::unique_ptr<Engine> engine_;
  std::string language_;
  std::unordered_set<std::string, Hash, std::equal_to<>> accepted_;
  std::unordered_map<std::string, LineResult, Hash, std::equal_to<>> lines_;
};

}  // namespace obrel
