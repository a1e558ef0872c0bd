#include "tools/obrel-drive/arguments.h"

namespace obrel::drive {

void need(bool condition, const char* usage) {
  if (!condition) throw ScriptError(usage);
}

long long wholeNumber(const Word& word, const char* usage) {
  need(!word.quoted && !word.text.empty(), usage);
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(word.text, &used);
  } catch (const std::exception&) {
    throw ScriptError(usage);
  }
  need(used == word.text.size(), usage);
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
