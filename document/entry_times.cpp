#include "document/entry_times.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace obrel {

namespace {

// The value of one part: 1 to maxWidth ASCII digits, nothing else.
std::optional<std::int64_t> partValue(const std::string& part, std::size_t maxWidth) {
  if (part.empty() || part.size() > maxWidth) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : part) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// One time's four parts; nullopt unless each is readable and minutes and seconds are
// below 60.
std::optional<std::int64_t> timeOf(const std::string& hours, const std::string& minutes,
                                   const std::string& seconds, const std::string& millis) {
  const auto h = partValue(hours, 2), m = partValue(minutes, 2), s = partValue(seconds, 2),
             ms = partValue(millis, 3);
  if (!h || !m || !s || !ms || *m >= 60 || *s >= 60) return std::nullopt;
  return millisOf(*h, *m, *s, *ms);
}

// Whether line at `at` holds text, moving `at` past it.
bool follows(std::string_view line, std::size_t& at, std::string_view text) {
  if (line.substr(at, text.size()) != text) return false;
  at += text.size();
  return true;
}

// Writes value as `width` digits ending just before out + width.
void putDigits(char* out, std::int64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// "HH:MM:SS,mmm" of millis into the 12 characters at out.
void putTime(char* out, std::int64_t millis) {
  putDigits(out, millis / 3'600'000, 2);
  out[2] = ':';
  putDigits(out + 3, millis / 60'000 % 60, 2);
  out[5] = ':';
  putDigits(out + 6, millis / 1000 % 60, 2);
  out[8] = ',';
  putDigits(out + 9, millis % 1000, 3);
}

}  // namespace

std::optional<EntryTimes> readTimes(const Entry& e) {
  if (e.EntryTiming.empty()) return std::nullopt;
  const auto start = timeOf(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis);
  const auto end = timeOf(e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
  if (!start || !end) return std::nullopt;

  // The line must begin with the one timingLine() would build; compared in place, as this
  // runs for every entry at every rebuild of the player's index.
  const std::string_view line = e.EntryTiming;
  std::size_t at = 0;
  const std::array<std::pair<const std::string*, std::string_view>, 8> pieces = {{
      {&e.StartHours, ":"},
      {&e.StartMinutes, ":"},
      {&e.StartSeconds, ","},
      {&e.StartMillis, " --> "},
      {&e.EndHours, ":"},
      {&e.EndMinutes, ":"},
      {&e.EndSeconds, ","},
      {&e.EndMillis, ""},
  }};
  bool usual = true;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::string& part = *pieces[i].first;
    if (!follows(line, at, part) || !follows(line, at, pieces[i].second)) return std::nullopt;
    usual = usual && part.size() == (i % 4 == 3 ? 3u : 2u);
  }
  return EntryTimes{*start, *end, at, usual};
}

bool unreadableTimes(const Entry& entry) { return !entry.EntryTiming.empty() && !readTimes(entry); }

std::optional<EntryTimes> timesAt(const EntryStore& store, int k) {
  if (k < kFirstTimedEntry || k > kLastEntry) return std::nullopt;
  return readTimes(store.at(k));
}

void writeTimes(Entry& e, std::int64_t start, std::int64_t end, std::size_t tailAt) {
  char line[29];
  putTime(line, start);
  std::copy_n(" --> ", 5, line + 12);
  putTime(line + 17, end);
  e.StartHours.assign(line, 2);
  e.StartMinutes.assign(line + 3, 2);
  e.StartSeconds.assign(line + 6, 2);
  e.StartMillis.assign(line + 9, 3);
  e.EndHours.assign(line + 17, 2);
  e.EndMinutes.assign(line + 20, 2);
  e.EndSeconds.assign(line + 23, 2);
  e.EndMillis.assign(line + 26, 3);
  // Replaced in place: the tail is not copied out and back.
  e.EntryTiming.replace(0, std::min(tailAt, e.EntryTiming.size()), line, sizeof line);
}

std::string formatTime(std::int64_t millis) {
  std::string text(12, '0');
  putTime(text.data(), millis);
  return text;
}

std::string unreadableTimesMessage(int count) {
  if (count <= 0) return {};
  if (count == 1) return "The times of 1 entry could not be read. It was left as it was.";
  return "The times of " + std::to_string(count) +
         " entries could not be read. They were left as they were.";
}

std::string noTimesMessage(int entry) {
  return "Entry " + std::to_string(entry) + " has no times.";
}

}  // namespace obrel
