#include "platform/settings_file.h"

#include <string_view>
#include <vector>

#include "platform/failure.h"

namespace obrel {

namespace {

// A settings file is small; anything larger is not one.
constexpr std::size_t kMaxBytes = 64 * 1024;

constexpr std::string_view kSpelling = "Spelling";
constexpr std::string_view kEnabled = "Enabled";
constexpr std::string_view kLanguage = "Language";

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// One line of the file: a section header, a key and its value, or a blank or comment line.
struct Line {
  std::string text;
  std::string section;  // the section it is in (a header: its own)
  std::string key;      // empty for anything but key=value
  std::string value;
};

// The file's lines, or nothing when a line is neither of the kinds above.
std::optional<std::vector<Line>> parsed(std::string_view bytes) {
  std::vector<Line> lines;
  std::string section;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view raw = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    const std::string_view t = trimmed(raw);
    Line line{std::string(raw), section, {}, {}};
    if (t.empty() || t[0] == ';' || t[0] == '#') {
      // kept as it is
    } else if (t.front() == '[' && t.back() == ']') {
      section = line.section = std::string(trimmed(t.substr(1, t.size() - 2)));
    } else if (const std::size_t equals = t.find('='); equals != std::string_view::npos) {
      line.key = std::string(trimmed(t.substr(0, equals)));
      line.value = std::string(trimmed(t.substr(equals + 1)));
      if (line.key.empty()) return std::nullopt;
    } else {
      return std::nullopt;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::optional<bool> boolean(std::string_view value) {
  if (value == "true") return true;
  if (value == "false") return false;
  return std::nullopt;
}

// A language code holds letters, digits, '_' and '-' only.
std::optional<std::string> code(std::string_view value) {
  if (value.empty()) return std::nullopt;
  for (const char c : value) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '_' || c == '-';
    if (!allowed) return std::nullopt;
  }
  return std::string(value);
}

std::vector<Line> linesOf(FileSystem& files, const std::string& path) {
  try {
    if (auto lines = parsed(files.readFile(path, kMaxBytes))) return std::move(*lines);
  } catch (const Failure&) {
  }
  return {};
}

// Sets key in section to value: the line already there, else a new line after the section's
// last line, else a new section at the end.
void set(std::vector<Line>& lines, std::string_view section, std::string_view key,
         const std::string& value) {
  std::size_t after = lines.size();
  bool found = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].section != section) continue;
    if (lines[i].key == key) {
      lines[i].text = std::string(key) + '=' + value;
      return;
    }
    found = true;
    // Blank lines closing the section stay after the new one.
    if (!trimmed(lines[i].text).empty()) after = i + 1;
  }
  if (!found) {
    lines.push_back({'[' + std::string(section) + ']', std::string(section), {}, {}});
    after = lines.size();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after),
               Line{std::string(key) + '=' + value, std::string(section), std::string(key), value});
}

}  // namespace

Settings readSettings(FileSystem& files, const std::string& path) {
  Settings settings;
  for (const Line& line : linesOf(files, path)) {
    if (line.section != kSpelling) continue;
    if (line.key == kEnabled) settings.spelling = boolean(line.value);
    if (line.key == kLanguage) settings.spellingLanguage = code(line.value);
  }
  return settings;
}

void writeSettings(FileSystem& files, const std::string& path, const Settings& settings) {
  // Read again just before writing: another running program may have written values since.
  std::vector<Line> lines = linesOf(files, path);
  if (settings.spelling) set(lines, kSpelling, kEnabled, *settings.spelling ? "true" : "false");
  if (settings.spellingLanguage) set(lines, kSpelling, kLanguage, *settings.spellingLanguage);
  std::string bytes;
  for (const Line& line : lines) bytes += line.text + '\n';
  files.replacePrivateFile(path, bytes);
}

}  // namespace obrel
