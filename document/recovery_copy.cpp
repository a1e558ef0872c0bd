#include "document/recovery_copy.h"

#include <array>
#include <charconv>
#include <utility>
#include <vector>

namespace obrel {

namespace {

constexpr std::string_view kFirstLine = "Obrel Dizivud recovery copy 1";
constexpr std::string_view kLastLine = "end";

struct EncodingName {
  TextEncoding encoding;
  std::string_view name;
};
constexpr std::array<EncodingName, 7> kEncodings{{{TextEncoding::Utf8, "utf-8"},
                                                  {TextEncoding::Utf8Bom, "utf-8-bom"},
                                                  {TextEncoding::Utf16LE, "utf-16le"},
                                                  {TextEncoding::Utf16BE, "utf-16be"},
                                                  {TextEncoding::Utf32LE, "utf-32le"},
                                                  {TextEncoding::Utf32BE, "utf-32be"},
                                                  {TextEncoding::Windows1252, "windows-1252"}}};

// The ten values of a slot, in the order they are written.
std::array<std::string Entry::*, 10> fields() {
  return {&Entry::EntryText,    &Entry::EntryTiming, &Entry::StartHours, &Entry::StartMinutes,
          &Entry::StartSeconds, &Entry::StartMillis, &Entry::EndHours,   &Entry::EndMinutes,
          &Entry::EndSeconds,   &Entry::EndMillis};
}

void escapeInto(std::string& out, std::string_view value) {
  // Runs without anything to escape, most of a text, are copied whole.
  std::size_t from = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\\' && c != '\t' && c != '\r' && c != '\n') continue;
    out.append(value.data() + from, i - from);
    out += '\\';
    out += c == '\\' ? '\\' : c == '\t' ? 't' : c == '\r' ? 'r' : 'n';
    from = i + 1;
  }
  out.append(value.data() + from, value.size() - from);
}

// A value with its escapes undone; nothing when it ends in a backslash or holds an escape
// that is not one of the four.
std::optional<std::string> unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

// The whole text as a decimal number of that type; nothing for any other text.
template <typename Number>
std::optional<Number> number(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> split(std::string_view line, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t at = line.find(separator, from);
    parts.push_back(line.substr(from, at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

// The value after "key " on line; nothing when line holds another key.
std::optional<std::string_view> valueOf(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ') {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

// The number after "key " on line; nothing for another key or a value that is no number.
template <typename Number>
std::optional<Number> numberOf(std::string_view line, std::string_view key) {
  const std::optional<std::string_view> value = valueOf(line, key);
  return value ? number<Number>(*value) : std::nullopt;
}

std::optional<TextEncoding> encodingNamed(std::string_view name) {
  for (const EncodingName& e : kEncodings) {
    if (e.name == name) return e.encoding;
  }
  return std::nullopt;
}

// An identity's four numbers; nothing for anything else.
std::optional<FileIdentity> identityNumbers(std::string_view value) {
  const std::vector<std::string_view> parts = split(value, ' ');
  if (parts.size() != 4) return std::nullopt;
  const auto device = number<std::uint64_t>(parts[0]);
  const auto inode = number<std::uint64_t>(parts[1]);
  const auto size = number<std::uint64_t>(parts[2]);
  const auto modified = number<std::int64_t>(parts[3]);
  if (!device || !inode || !size || !modified) return std::nullopt;
  return FileIdentity{*device, *inode, *size, *modified};
}

// The facts of lines 2 to 7 of a dump; false when any of them is not as written.
bool readFacts(const std::vector<std::string_view>& lines, DocumentFacts& facts) {
  const auto written = numberOf<std::int64_t>(lines[1], "written");
  const auto index = numberOf<std::int16_t>(lines[2], "index");
  const auto fileValue = valueOf(lines[3], "file");
  const auto file = fileValue ? unescape(*fileValue) : std::nullopt;
  const auto encodingValue = valueOf(lines[4], "encoding");
  const auto encoding = encodingValue ? encodingNamed(*encodingValue) : std::nullopt;
  const auto partial = valueOf(lines[5], "partial");
  const auto identity = valueOf(lines[6], "identity");
  // The index box reaches 0 to 9999 only; a copy never holds another.
  if (!written || !index || *index < EntryStore::kFirst || *index > kLastEntry || !file ||
      !encoding || !partial || (*partial != "0" && *partial != "1") || !identity) {
    return false;
  }
  facts.writtenAt = *written;
  facts.currentIndex = *index;
  facts.currentFile = std::move(*file);
  facts.encoding = *encoding;
  facts.partialLoad = *partial == "1";
  if (*identity != "none") {
    facts.identity = identityNumbers(*identity);
    if (!facts.identity) return false;
  }
  return true;
}

// A "slot" line into the store; false when it is not as written.
bool readSlot(std::string_view line, EntryStore& store) {
  const std::optional<std::string_view> value = valueOf(line, "slot");
  if (!value) return false;
  const std::vector<std::string_view> parts = split(*value, '\t');
  if (parts.size() != 11) return false;
  const std::optional<int> k = number<int>(parts[0]);
  if (!k || *k < EntryStore::kFirst || *k > EntryStore::kLast) return false;
  Entry& entry = store.edit(*k);
  const auto names = fields();
  for (std::size_t f = 0; f < names.size(); ++f) {
    std::optional<std::string> field = unescape(parts[f + 1]);
    if (!field) return false;
    entry.*names[f] = std::move(*field);
  }
  return true;
}

}  // namespace

std::string writeRecoveryCopy(const EntryStore& store, const DocumentFacts& facts) {
  std::size_t size = 256 + facts.currentFile.size();
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    const Entry& entry = store.at(k);
    if (entry.empty()) continue;
    size += 32;
    for (std::string Entry::*field : fields()) size += (entry.*field).size();
  }
  std::string out;
  out.reserve(size + size / 8);  // escapes take a little more
  out += kFirstLine;
  out += "\nwritten " + std::to_string(facts.writtenAt);
  out += "\nindex " + std::to_string(facts.currentIndex);
  out += "\nfile ";
  escapeInto(out, facts.currentFile);
  for (const EncodingName& e : kEncodings) {
    if (e.encoding == facts.encoding) out += "\nencoding " + std::string(e.name);
  }
  out += facts.partialLoad ? "\npartial 1" : "\npartial 0";
  if (const auto& id = facts.identity) {
    out += "\nidentity " + std::to_string(id->device) + ' ' + std::to_string(id->inode) + ' ' +
           std::to_string(id->size) + ' ' + std::to_string(id->modifiedNs);
  } else {
    out += "\nidentity none";
  }
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    const Entry& entry = store.at(k);
    if (entry.empty()) continue;
    out += "\nslot ";
    out += std::to_string(k);
    for (std::string Entry::*field : fields()) {
      out += '\t';
      escapeInto(out, entry.*field);
    }
  }
  out += '\n';
  out += kLastLine;
  out += '\n';
  return out;
}

bool isWholeRecoveryCopy(std::string_view text) { return readRecoveryCopy(text).has_value(); }

std::optional<std::int64_t> recoveryCopyTime(std::string_view head) {
  const std::vector<std::string_view> lines = split(head, '\n');
  // The second line must be whole: its end shows that no digit was cut off.
  if (lines.size() < 3 || lines[0] != kFirstLine) return std::nullopt;
  return numberOf<std::int64_t>(lines[1], "written");
}

std::optional<RecoveredDocument> readRecoveryCopy(std::string_view text) {
  const std::vector<std::string_view> lines = split(text, '\n');
  // A whole copy ends in a line end, which leaves one empty part after the last line.
  if (lines.size() < 9 || lines.back() != "" || lines[lines.size() - 2] != kLastLine) {
    return std::nullopt;  // cut short
  }
  if (lines[0] != kFirstLine) return std::nullopt;
  RecoveredDocument document;
  if (!readFacts(lines, document.facts)) return std::nullopt;
  for (std::size_t i = 7; i + 2 < lines.size(); ++i) {
    if (!readSlot(lines[i], document.store)) return std::nullopt;
  }
  return document;
}

}  // namespace obrel
