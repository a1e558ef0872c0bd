#include "preview/styled_text.h"

#include <algorithm>
#include <cstddef>

#include "preview/colour_names.h"

namespace obrel {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameLetters(std::string_view a, std::string_view lowerB) {
  return a.size() == lowerB.size() && std::equal(a.begin(), a.end(), lowerB.begin(),
                                                 [](char x, char y) { return lower(x) == y; });
}

// The value of a tag's color attribute ("color=red", "color = 'red'"); empty when it has none.
std::string_view colourAttribute(std::string_view attributes) {
  for (std::size_t at = 0; at + 5 <= attributes.size(); ++at) {
    if (!sameLetters(attributes.substr(at, 5), "color")) continue;
    if (at > 0 && !blank(attributes[at - 1])) continue;  // part of another attribute's name
    std::size_t v = at + 5;
    while (v < attributes.size() && blank(attributes[v])) ++v;
    if (v == attributes.size() || attributes[v] != '=') continue;
    ++v;
    while (v < attributes.size() && blank(attributes[v])) ++v;
    if (v < attributes.size() && (attributes[v] == '"' || attributes[v] == '\'')) {
      const std::size_t close = attributes.find(attributes[v], v + 1);
      return attributes.substr(v + 1, close == std::string_view::npos ? close : close - v - 1);
    }
    std::size_t end = v;
    while (end < attributes.size() && !blank(attributes[end])) ++end;
    return attributes.substr(v, end - v);
  }
  return {};
}

// The styles open so far, across the lines of one entry.
class StyleState {
 public:
  TextStyle style() const {
    return TextStyle{italic_ > 0, bold_ > 0, underline_ > 0,
                     colours_.empty() ? kWhite : colours_.back()};
  }

  // Reads the inside of one <...>; whatever it is, it draws nothing.
  void tag(std::string_view inside) {
    // The name follows '<' or "</" at once: "a < b > c" holds no bold.
    const bool closing = !inside.empty() && inside.front() == '/';
    if (closing) inside.remove_prefix(1);
    std::size_t nameEnd = 0;
    while (nameEnd < inside.size() && !blank(inside[nameEnd])) ++nameEnd;
    const std::string_view name = inside.substr(0, nameEnd);
    for (auto [letter, depth] : {std::pair{"i", &italic_}, {"b", &bold_}, {"u", &underline_}}) {
      if (sameLetters(name, letter)) {
        *depth = closing ? std::max(0, *depth - 1) : *depth + 1;
        return;
      }
    }
    if (!sameLetters(name, "font")) return;
    if (closing) {
      if (!colours_.empty()) colours_.pop_back();
    } else {
      const std::string_view value = colourAttribute(inside.substr(nameEnd));
      // A font without a colour keeps the one around it, so that its </font> pops in step.
      colours_.push_back(value.empty() && !colours_.empty() ? colours_.back() : readColour(value));
    }
  }

 private:
  int italic_ = 0, bold_ = 0, underline_ = 0;
  std::vector<Rgb> colours_;
};

// Adds text in style to line, joining it to the last run when the style is the same.
void append(StyledLine& line, std::string_view text, const TextStyle& style) {
  if (text.empty()) return;
  if (!line.empty() && line.back().style == style) {
    line.back().text.append(text);
  } else {
    line.push_back(StyledRun{std::string(text), style});
  }
}

StyledLine readLine(std::string_view line, StyleState& state) {
  StyledLine runs;
  std::size_t textFrom = 0;
  std::size_t at = 0;
  while (at < line.size()) {
    std::size_t close = std::string_view::npos;
    if (line[at] == '<') {
      close = line.find('>', at + 1);
    } else if (line[at] == '{' && at + 1 < line.size() && line[at + 1] == '\\') {
      close = line.find('}', at + 2);
    }
    if (close == std::string_view::npos) {
      ++at;
      continue;
    }
    append(runs, line.substr(textFrom, at - textFrom), state.style());
    if (line[at] == '<') state.tag(line.substr(at + 1, close - at - 1));
    at = textFrom = close + 1;
  }
  append(runs, line.substr(textFrom), state.style());
  return runs;
}

// Calls visit for each line of text: lines end at LF, a CR before it dropped.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  while (true) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line);
    if (lf == std::string_view::npos) return;
    text.remove_prefix(lf + 1);
  }
}

}  // namespace

std::vector<StyledLine> readStyledText(std::string_view text) {
  std::vector<StyledLine> lines;
  StyleState state;
  forEachLine(text, [&](std::string_view line) { lines.push_back(readLine(line, state)); });
  return lines;
}

std::string plainText(std::string_view text) {
  std::string plain;
  bool first = true;
  for (const StyledLine& line : readStyledText(text)) {
    if (!first) plain += " / ";
    first = false;
    for (const StyledRun& run : line) plain += run.text;
  }
  return plain;
}

std::string screenText(const EntryStore& store, const std::vector<int>& slots) {
  std::string shown;
  for (auto k = slots.rbegin(); k != slots.rend(); ++k) {
    if (k != slots.rbegin()) shown += " / ";
    shown += plainText(store.at(*k).EntryText);
  }
  return shown;
}

std::string screenText(const Subtitles& shown) {
  std::string text;
  bool first = true;
  for (auto block = shown.rbegin(); block != shown.rend(); ++block) {
    for (const StyledLine& line : *block) {
      if (!first) text += " / ";
      first = false;
      for (const StyledRun& run : line) text += run.text;
    }
  }
  return text;
}

}  // namespace obrel
