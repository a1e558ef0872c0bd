#include "platform/internet_shortcut.h"

#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/web_links.h"

namespace obrel {

namespace {

// A shortcut is a few lines; anything larger is no shortcut.
constexpr std::size_t kLargestShortcut = std::size_t{64} * 1024;

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// ASCII letters compared without case, as shortcut files are written by hand too.
bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool startsWithWord(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && sameWord(s.substr(0, prefix.size()), prefix);
}

// An http or https address with a host name, and no blank or control character that a
// browser would take as the end of the address or as something else.
bool isWebAddress(std::string_view url) {
  std::size_t rest = 0;
  if (startsWithWord(url, "https://")) {
    rest = 8;
  } else if (startsWithWord(url, "http://")) {
    rest = 7;
  } else {
    return false;
  }
  for (const char c : url) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b == 0x7F) return false;
  }
  // The authority ends at the path, the query or the fragment; the host lies between any
  // user part ("user@") and any port (":80").
  std::string_view host = url.substr(rest, url.find_first_of("/?#", rest) - rest);
  if (const std::size_t at = host.rfind('@'); at != std::string_view::npos)
    host.remove_prefix(at + 1);
  if (host.starts_with('[')) {
    const std::size_t close = host.find(']');
    return close != std::string_view::npos && close > 1;
  }
  return !host.substr(0, host.find(':')).empty();
}

}  // namespace

std::optional<std::string> shortcutUrl(std::string_view text) {
  bool inSection = false;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", from);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimmed(text.substr(from, end - from));
    from = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      inSection = sameWord(trimmed(line.substr(1, line.size() - 2)), "InternetShortcut");
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    if (!sameWord(trimmed(line.substr(0, equals)), "URL")) continue;
    // The first URL= line of the section is the one that counts.
    const std::string_view url = trimmed(line.substr(equals + 1));
    if (!isWebAddress(url)) return std::nullopt;
    return std::string(url);
  }
  return std::nullopt;
}

void openWebLink(FileSystem& files, Browser& browser, const std::string& path) {
  std::optional<std::string> url;
  try {
    TextReader in(files, path, kLargestShortcut);
    url = in.atEnd() ? std::nullopt : shortcutUrl(in.readAll());
  } catch (const Failure&) {
    return;
  }
  if (url) browser.open(*url);
}

}  // namespace obrel
