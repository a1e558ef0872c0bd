#include "document/recovery_copy.h"

#include <array>
#include <charconv>
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

[[noreturn]] void unreadable(const std::string& why) {
  throw RecoveryCopyUnreadable("recovery copy unreadable: " + why);
}

std::string unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) unreadable("a value ends in a backslash");
    switch (value[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      default: unreadable("an unknown escape");
    }
  }
  return out;
}

template <typename Number>
Number number(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    unreadable("not a number: " + std::string(text));
  }
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

// The value after "key " on line, or an unreadable copy.
std::string_view valueOf(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ') {
    unreadable("expected " + std::string(key));
  }
  return line.substr(key.size() + 1);
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

bool isWholeRecoveryCopy(std::string_view text) {
  try {
    readRecoveryCopy(text);
    return true;
  } catch (const RecoveryCopyUnreadable&) {
    return false;
  }
}

std::optional<std::int64_t> recoveryCopyTime(std::string_view head) {
  const std::vector<std::string_view> lines = split(head, '\n');
  // The second line must be whole: its end shows that no digit was cut off.
  if (lines.size() < 3 || lines[0] != kFirstLine) return std::nullopt;
  try {
    return number<std::int64_t>(valueOf(lines[1], "written"));
  } catch (const RecoveryCopyUnreadable&) {
    return std::nullopt;
  }
}

RecoveredDocument readRecoveryCopy(std::string_view text) {
  std::vector<std::string_view> lines = split(text, '\n');
  // A whole copy ends in a line end, which leaves one empty part after the last line.
  if (lines.size() < 9 || lines.back() != "" || lines[lines.size() - 2] != kLastLine) {
    unreadable("cut short");
  }
  if (lines[0] != kFirstLine) unreadable("not a recovery copy");
  RecoveredDocument document;
  DocumentFacts& facts = document.facts;
  facts.writtenAt = number<std::int64_t>(valueOf(lines[1], "written"));
  facts.currentIndex = number<std::int16_t>(valueOf(lines[2], "index"));
  // The index box reaches 0 to 9999 only; a copy never holds another.
  if (facts.currentIndex < EntryStore::kFirst || facts.currentIndex > kLastEntry) {
    unreadable("an index outside the index box");
  }
  facts.currentFile = unescape(valueOf(lines[3], "file"));
  const std::string_view encoding = valueOf(lines[4], "encoding");
  bool known = false;
  for (const EncodingName& e : kEncodings) {
    if (e.name == encoding) {
      facts.encoding = e.encoding;
      known = true;
    }
  }
  if (!known) unreadable("an unknown encoding");
  const std::string_view partial = valueOf(lines[5], "partial");
  if (partial != "0" && partial != "1") unreadable("partial is neither 0 nor 1");
  facts.partialLoad = partial == "1";
  const std::string_view identity = valueOf(lines[6], "identity");
  if (identity != "none") {
    const std::vector<std::string_view> parts = split(identity, ' ');
    if (parts.size() != 4) unreadable("an identity of other than four numbers");
    facts.identity = FileIdentity{number<std::uint64_t>(parts[0]), number<std::uint64_t>(parts[1]),
                                  number<std::uint64_t>(parts[2]), number<std::int64_t>(parts[3])};
  }
  for (std::size_t i = 7; i + 2 < lines.size(); ++i) {
    const std::vector<std::string_view> parts = split(valueOf(lines[i], "slot"), '\t');
    if (parts.size() != 11) unreadable("a slot of other than ten values");
    const int k = number<int>(parts[0]);
    if (k < EntryStore::kFirst || k > EntryStore::kLast) unreadable("a slot outside the store");
    Entry& entry = document.store.edit(k);
    const auto names = fields();
    for (std::size_t f = 0; f < names.size(); ++f) entry.*names[f] = unescape(parts[f + 1]);
  }
  return document;
}

}  // namespace obrel
