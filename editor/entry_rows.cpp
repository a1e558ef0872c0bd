#include "editor/entry_rows.h"

#include <algorithm>

namespace obrel {

std::string listedTime(const std::string& hours, const std::string& minutes,
                       const std::string& seconds, const std::string& millis) {
  if (hours.empty() && minutes.empty() && seconds.empty() && millis.empty()) return {};
  return hours + ":" + minutes + ":" + seconds + "," + millis;
}

std::string listedText(const std::string& text) {
  std::string joined;
  joined.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      joined += c;
      continue;
    }
    // CR LF, and a lone CR or LF read from a file, each end a line.
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    joined += " / ";
  }
  return joined;
}

void EntryRows::reread() {
  slots_.clear();
  for (int k = 1; k <= kLastEntry; ++k) {
    if (!store_.at(k).empty()) slots_.push_back(k);
  }
}

std::string EntryRows::cell(int row, int column) const {
  const int k = slot(row);
  const Entry& e = store_.at(k);
  switch (column) {
    case Number: return std::to_string(k);
    case Start:
      // A timing line kept unreadable has no parts: the line stands in their place.
      if (!e.timed()) return e.EntryTiming;
      return listedTime(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis);
    case End: return listedTime(e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
    case Text: return listedText(e.EntryText);
    default: return {};
  }
}

int EntryRows::rowOf(int k) const {
  const auto found = std::lower_bound(slots_.begin(), slots_.end(), k);
  if (found == slots_.end() || *found != k) return -1;
  return static_cast<int>(found - slots_.begin());
}

}  // namespace obrel
