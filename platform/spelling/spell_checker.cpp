#include "platform/spelling/spell_checker.h"

#include <algorithm>
#include <nuspell/dictionary.hxx>
#include <stdexcept>

#include "platform/failure.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

// The lines remembered before the memory starts again: a few films' worth of entries.
constexpr std::size_t kRememberedLines = 20000;
// The engine's time for corrections grows steeply with a word's length: a tenth of a second
// at 64 letters, seconds at 200. Longer words get none.
constexpr std::size_t kLongestCorrected = 64;

}  // namespace

struct SpellChecker::Engine {
  nuspell::Dictionary dictionary;
};

SpellChecker::SpellChecker() = default;
SpellChecker::~SpellChecker() = default;

void SpellChecker::load(const DictionaryInfo& dictionary) {
  auto engine = std::make_unique<Engine>();
  try {
    engine->dictionary.load_aff_dic(dictionary.affPath);
  } catch (const std::exception& e) {
    // Missing files, and files that are no dictionary.
    throw FileError(e.what());
  }
  engine_ = std::move(engine);
  language_ = dictionary.code;
  lines_.clear();
}

void SpellChecker::accept(std::string_view word) {
  if (accepted_.emplace(word).second) lines_.clear();
}

bool SpellChecker::correct(std::string_view word) const {
  return !engine_ || accepted_.contains(word) || engine_->dictionary.spell(word);
}

std::vector<std::string> SpellChecker::suggestions(std::string_view word, std::size_t max) const {
  std::vector<std::string> out;
  if (!engine_ || utf8::length(word) > kLongestCorrected) return out;
  engine_->dictionary.suggest(word, out);
  if (out.size() > max) out.resize(max);
  return out;
}

const SpellChecker::LineResult& SpellChecker::checked(std::string_view line) {
  if (const auto it = lines_.find(line); it != lines_.end()) return it->second;
  if (lines_.size() >= kRememberedLines) lines_.clear();
  LineResult result{utf8::length(line), {}};
  for (const TextSpan& word : wordsToCheck(line)) {
    if (!correct(line.substr(word.start, word.length))) result.misspelt.push_back(word);
  }
  return lines_.emplace(std::string(line), std::move(result)).first->second;
}

std::vector<TextSpan> SpellChecker::misspelt(std::string_view text) {
  std::vector<TextSpan> found;
  if (!engine_) return found;
  std::size_t start = 0;
  std::size_t characters = 0;
  while (true) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    const LineResult& line = checked(text.substr(start, end - start));
    for (TextSpan word : line.misspelt) {
      word.start += start;
      word.startCharacters += characters;
      found.push_back(word);
    }
    if (end == text.size()) break;
    const std::size_t breakLength = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    start = end + breakLength;
    characters += line.characters + breakLength;
  }
  return found;
}

}  // namespace obrel
