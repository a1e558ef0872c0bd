#include "platform/spelling/line_words.h"

#include <unicode/uchar.h>

#include "platform/utf8.h"

namespace obrel {

namespace {

enum class Kind { Letter, Digit, Joiner, Other };

Kind kindOf(char32_t c) {
  if (c < 0x80) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return Kind::Letter;
    if (c >= '0' && c <= '9') return Kind::Digit;
    return c == '\'' || c == '-' ? Kind::Joiner : Kind::Other;
  }
  if (c == U'\u2019' || c == U'\u2010') return Kind::Joiner;  // right single quote, hyphen
  const std::uint32_t category = U_GET_GC_MASK(static_cast<UChar32>(c));
  if (category & (U_GC_L_MASK | U_GC_M_MASK)) return Kind::Letter;
  if (category & U_GC_N_MASK) return Kind::Digit;
  return Kind::Other;
}

}  // namespace

std::vector<TextSpan> wordsToCheck(std::string_view line) {
  std::vector<TextSpan> words;
  std::size_t i = 0;
  std::size_t characters = 0;
  // The word being read: where it starts, where its last letter or digit ends.
  bool inWord = false;
  bool hasDigit = false;
  bool joined = false;  // the last character was a joiner inside the word
  TextSpan word;
  const auto endWord = [&] {
    if (inWord && !hasDigit) words.push_back(word);
    inWord = false;
  };
  while (i < line.size()) {
    const std::size_t at = i;
    const char32_t c = utf8::next(line, i);
    // Tags and override blocks are skipped whole.
    const char32_t following = i < line.size() ? static_cast<unsigned char>(line[i]) : 0;
    const bool tag = c == '<' && (following == '/' || kindOf(following) == Kind::Letter);
    const bool block = c == '{' && following == '\\';
    if (tag || block) {
      endWord();
      joined = false;
      const std::size_t close = line.find(tag ? '>' : '}', i);
      const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
      characters += 1 + utf8::length(line.substr(i, end - i));
      i = end;
      continue;
    }
    const Kind kind = kindOf(c);
    const bool afterJoiner = joined;
    joined = false;
    if (kind == Kind::Letter || kind == Kind::Digit) {
      if (!inWord) {
        inWord = true;
        hasDigit = false;
        word = {at, 0, characters, 0};
      }
      hasDigit = hasDigit || kind == Kind::Digit;
      word.length = i - word.start;
      word.lengthCharacters = characters + 1 - word.startCharacters;
    } else if (kind == Kind::Joiner && inWord && !afterJoiner) {
      // A joiner counts only between letters: the word's length stops before it until a
      // letter follows.
      joined = true;
    } else {
      endWord();
    }
    ++characters;
  }
  endWord();
  return words;
}

}  // namespace obrel
