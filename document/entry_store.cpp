#include "document/entry_store.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/failure.h"

namespace obrel {

bool Entry::timed() const {
  return !StartHours.empty() || !StartMinutes.empty() || !StartSeconds.empty() ||
         !StartMillis.empty() || !EndHours.empty() || !EndMinutes.empty() || !EndSeconds.empty() ||
         !EndMillis.empty();
}

bool Entry::empty() const { return timed() == false && EntryText.empty() && EntryTiming.empty(); }

std::string timingLine(const std::string& startHours, const std::string& startMinutes,
                       const std::string& startSeconds, const std::string& startMillis,
                       const std::string& endHours, const std::string& endMinutes,
                       const std::string& endSeconds, const std::string& endMillis) {
  // Built in one allocation from a single size: the reader makes one per entry. Parts of
  // the usual widths (2, 2, 2, 3) are put into a ready line by single characters.
  const std::string* const parts[] = {&startHours, &startMinutes, &startSeconds, &startMillis,
                                      &endHours,   &endMinutes,   &endSeconds,   &endMillis};
  static constexpr std::size_t kWidths[] = {2, 2, 2, 3, 2, 2, 2, 3};
  static constexpr std::size_t kPlaces[] = {0, 3, 6, 9, 17, 20, 23, 26};
  bool usual = true;
  for (int i = 0; i < 8; ++i) usual = usual && parts[i]->size() == kWidths[i];
  if (usual) {
    std::string line = "00:00:00,000 --> 00:00:00,000";
    for (int i = 0; i < 8; ++i) {
      const std::string& part = *parts[i];
      line[kPlaces[i]] = part[0];
      line[kPlaces[i] + 1] = part[1];
      if (kWidths[i] == 3) line[kPlaces[i] + 2] = part[2];
    }
    return line;
  }
  static constexpr std::string_view kSeparators[] = {":", ":", ",", " --> ", ":", ":", ",", ""};
  std::size_t size = 0;
  for (int i = 0; i < 8; ++i) size += parts[i]->size() + kSeparators[i].size();
  std::string line(size, '\0');
  char* out = line.data();
  for (int i = 0; i < 8; ++i) {
    out = std::copy(parts[i]->begin(), parts[i]->end(), out);
    out = std::copy(kSeparators[i].begin(), kSeparators[i].end(), out);
  }
  return line;
}

Entry& EntryStore::edit(int k) {
  if (k < kFirst || k > kLast) throw IndexOutOfRange();
  ++revision_;
  if (!slots_) slots_ = std::make_unique<std::array<Entry, kLast + 1>>();
  return (*slots_)[k];
}

const Entry& EntryStore::at(int k) const {
  if (k < kFirst || k > kLast) throw IndexOutOfRange();
  static const Entry kEmpty;
  return slots_ ? (*slots_)[k] : kEmpty;
}

void EntryStore::take(EntryStore&& other) {
  ++revision_;
  slots_ = std::move(other.slots_);
}

void EntryStore::clearFrom(int from) {
  ++revision_;
  if (!slots_) return;
  for (int k = from; k <= kLast; ++k) (*slots_)[k] = Entry{};
}

Entry EntryStore::insertAt(int k) {
  if (k < kFirst || k > kLast) throw IndexOutOfRange();
  Entry dropped = std::move(edit(kLast));
  for (int j = kLast; j > k; --j) edit(j) = std::move(edit(j - 1));
  edit(k) = Entry{};
  return dropped;
}

Entry EntryStore::removeAt(int k) {
  Entry removed = std::move(edit(k));
  for (int j = k; j < kLast; ++j) edit(j) = std::move(edit(j + 1));
  edit(kLast) = Entry{};
  return removed;
}

}  // namespace obrel
