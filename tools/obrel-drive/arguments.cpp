#include "tools/obrel-drive/arguments.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace obrel::drive {

void need(bool condition, const char* usage) {
  if (!condition) throw ScriptError(usage);
}

long long wholeNumber(const Word& word, const char* usage) {
  need(!word.quoted && !word.text.empty(), usage);
  // As the C library reads one: white space, one sign, then digits, here to the word's end.
  std::string_view text = word.text;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  need(error == std::errc() && end == text.data() + text.size(), usage);
  return value;
}

std::string quoted(const std::vector<Word>& words, std::size_t i, const char* usage) {
  need(i < words.size() && words[i].quoted, usage);
  return words[i].text;
}

std::optional<std::string> textOrCancel(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2, usage);
  if (words[1].quoted) return words[1].text;
  need(words[1].text == "cancel", usage);
  return std::nullopt;
}

std::string onlyPath(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2, usage);
  return quoted(words, 1, usage);
}

const std::string& onlyName(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2 && !words[1].quoted, usage);
  return words[1].text;
}

bool isFormName(const std::string& name) {
  return name.size() == 5 && name.starts_with("Form") && name[4] >= '1' && name[4] <= '9';
}

}  // namespace obrel::drive
