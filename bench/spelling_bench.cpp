// Spell checking as the user types, with the installed en_US dictionary: a keystroke in a
// three-line entry, and in one line of a pasted text of 1,000 lines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/spelling/dictionaries.h"
#include "platform/spelling/spell_checker.h"
#include "testing/test_window.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel::bench {
namespace {

// The checker with en_US loaded; false when that dictionary is not installed.
bool loadEnglish(SpellChecker& checker) {
  for (const DictionaryInfo& d : findDictionaries(dictionaryFolders())) {
    if (d.code == "en_US") {
      checker.load(d);
      return true;
    }
  }
  return false;
}

// The text lines of a generated file, without numbers and timing lines.
std::vector<std::string> textLines(int count) {
  const std::string file = srtgen::generate(count, srtgen::Flavour::Ascii);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (static_cast<int>(lines.size()) < count && start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    const std::string line = file.substr(start, end - start);
    start = end + 2;
    if (!line.empty() && line.find_first_not_of("0123456789") != std::string::npos &&
        line.find("-->") == std::string::npos) {
      lines.push_back(line);
    }
  }
  return lines;
}

// What a keystroke leaves in a line: a new word each time, so the line is always new.
std::string typed(const std::string& line, std::uint64_t n) {
  std::string word = " wrd";
  for (; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
  return line + word;
}

// The box's text with line k as typed, as the window would hand it over.
std::string joined(const std::vector<std::string>& lines, std::size_t k, std::uint64_t n) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += i == k ? typed(lines[i], n) : lines[i];
  }
  return text;
}

void spellAfterKeystrokes(benchmark::State& state, int lineCount) {
  SpellChecker checker;
  if (!loadEnglish(checker)) {
    state.SkipWithError("the en_US dictionary is not installed");
    return;
  }
  const std::vector<std::string> lines = textLines(lineCount);
  const std::size_t changed = lines.size() / 2;
  checker.misspelt(joined(lines, changed, 0));  // the text as pasted, checked once
  std::uint64_t n = 1;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string text = joined(lines, changed, n++);
    state.ResumeTiming();
    const std::vector<TextSpan> misspelt = checker.misspelt(text);
    if (misspelt.empty()) state.SkipWithError("the typed word was not found misspelt");
  }
}

void BM_SpellKeystrokeEntry(benchmark::State& state) { spellAfterKeystrokes(state, 3); }
BENCHMARK(BM_SpellKeystrokeEntry)->Unit(benchmark::kMicrosecond);

void BM_SpellKeystrokePasted1000(benchmark::State& state) { spellAfterKeystrokes(state, 1000); }
BENCHMARK(BM_SpellKeystrokePasted1000)->Unit(benchmark::kMicrosecond);

// The pasted text checked whole, every line new, for comparison.
void BM_SpellPasted1000Whole(benchmark::State& state) {
  SpellChecker checker;
  if (!loadEnglish(checker)) {
    state.SkipWithError("the en_US dictionary is not installed");
    return;
  }
  const std::vector<std::string> lines = textLines(1000);
  std::uint64_t n = 1;
  for (auto _ : state) {
    state.PauseTiming();
    std::string text;
    for (const std::string& line : lines) text += typed(line, n) + "\r\n";
    ++n;
    state.ResumeTiming();
    benchmark::DoNotOptimize(checker.misspelt(text));
  }
}
BENCHMARK(BM_SpellPasted1000Whole)->Unit(benchmark::kMillisecond);

// The whole path of a keystroke in the main window: the key typed into Text9 (its change
// handler runs), then the words the view underlines asked for, as the view asks after each
// event. Keys go at the end of the text; every 60 keys the text goes back to as pasted.
void keystrokesInTheWindow(benchmark::State& state, int lineCount) {
  fake::TestWindow w;
  w.form.startSpelling({dictionaryFolders(), "en_US", "", ""});
  if (w.form.spelling().dictionaries().empty() ||
      w.form.spelling().dictionaries()[*w.form.spelling().chosen()].code != "en_US") {
    state.SkipWithError("the en_US dictionary is not installed");
    return;
  }
  std::string pasted;
  for (const std::string& line : textLines(lineCount)) pasted += line + "\r\n";
  w.form.Text9.setText(pasted);
  w.form.spelling().misspelt(pasted);  // the pasted text checked once
  w.form.setFocus(&w.form.Text9);
  const std::string keys = "wrdxq tset ";
  std::size_t n = 0;
  for (auto _ : state) {
    if (n % 60 == 0) {
      state.PauseTiming();
      w.form.Text9.setText(pasted);
      state.ResumeTiming();
    }
    w.form.typeInto(w.form.Text9, keys[n++ % keys.size()]);
    benchmark::DoNotOptimize(w.form.spelling().misspelt(w.form.Text9.text()));
  }
}

void BM_SpellWindowKeystrokeEntry(benchmark::State& state) { keystrokesInTheWindow(state, 3); }
BENCHMARK(BM_SpellWindowKeystrokeEntry)->Unit(benchmark::kMicrosecond);

void BM_SpellWindowKeystrokePasted1000(benchmark::State& state) {
  keystrokesInTheWindow(state, 1000);
}
BENCHMARK(BM_SpellWindowKeystrokePasted1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace obrel::bench
