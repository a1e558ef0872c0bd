#include "preview/screen_index.h"

#include <algorithm>
#include <limits>

#include "document/entry_times.h"

namespace obrel {

namespace {

constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::min();

struct Item {
  std::int64_t start, end;
  int slot;
};

}  // namespace

bool ScreenIndex::refresh(const EntryStore& store) {
  if (store_ == &store && revision_ == store.revision()) return false;
  rebuild(store);
  return true;
}

void ScreenIndex::rebuild(const EntryStore& store) {
  store_ = &store;
  revision_ = store.revision();

  std::vector<Item> items;
  items.reserve(starts_.empty() ? 1024 : starts_.size());
  for (int k = kFirstTimedEntry; k <= kLastEntry; ++k) {
    const std::optional<EntryTimes> times = readTimes(store.at(k));
    if (times && times->end > times->start) items.push_back({times->start, times->end, k});
  }
  // Files are mostly in order already, which the sort finds cheap.
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.start != b.start ? a.start < b.start : a.slot < b.slot;
  });

  starts_.resize(items.size());
  ends_.resize(items.size());
  slots_.resize(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    starts_[i] = items[i].start;
    ends_[i] = items[i].end;
    slots_[i] = items[i].slot;
  }
  leaves_ = 1;
  while (leaves_ < items.size()) leaves_ *= 2;
  greatestEnd_.assign(2 * leaves_, kNoEnd);
  std::copy(ends_.begin(), ends_.end(),
            greatestEnd_.begin() + static_cast<std::ptrdiff_t>(leaves_));
  for (std::size_t node = leaves_ - 1; node >= 1; --node) {
    greatestEnd_[node] = std::max(greatestEnd_[2 * node], greatestEnd_[2 * node + 1]);
  }
}

void ScreenIndex::collect(std::size_t node, std::size_t from, std::size_t width, std::size_t before,
                          std::int64_t position, std::vector<int>& slots) const {
  if (from >= before || greatestEnd_[node] <= position) return;
  if (width == 1) {
    slots.push_back(slots_[from]);
    return;
  }
  collect(2 * node, from, width / 2, before, position, slots);
  collect(2 * node + 1, from + width / 2, width / 2, before, position, slots);
}

void ScreenIndex::at(std::int64_t position, std::vector<int>& slots) const {
  slots.clear();
  // Only entries starting by the position can be on screen; of those, the blocks whose
  // greatest end is past it hold the ones that are.
  const auto started = static_cast<std::size_t>(
      std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin());
  if (started == 0) return;
  collect(1, 0, leaves_, started, position, slots);
  std::sort(slots.begin(), slots.end());
}

std::vector<int> ScreenIndex::at(std::int64_t position) const {
  std::vector<int> slots;
  at(position, slots);
  return slots;
}

}  // namespace obrel
