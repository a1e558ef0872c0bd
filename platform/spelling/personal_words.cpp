#include "platform/spelling/personal_words.h"

#include "platform/failure.h"

namespace obrel {

namespace {

// Far more than anyone adds by hand; a larger file is not read.
constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;

bool isWord(std::string_view word) {
  return !word.empty() && word.find_first_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

void PersonalWords::load() {
  std::string bytes;
  try {
    bytes = files_.readFile(path_, kMaxBytes);
  } catch (const Failure&) {
    return;
  }
  std::string_view rest = bytes;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    if (isWord(line)) words_.emplace(line);
  }
}

void PersonalWords::add(std::string_view word) {
  if (!isWord(word)) return;
  words_.emplace(word);
  load();
  std::string bytes;
  for (const std::string& w : words_) bytes += w + '\n';
  files_.replacePrivateFile(path_, bytes);
}

}  // namespace obrel
