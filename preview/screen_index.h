#pragma once
// The entries on screen at a playback position: an index kept beside the store, its entries
// sorted by start with the greatest end of every block of them, so that a lookup visits only
// the blocks that still reach the position, however long an early entry lasts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/entry_store.h"

namespace obrel {

class ScreenIndex {
 public:
  // Rebuilds from store when it is another store or its revision moved since the last
  // build; otherwise costs one comparison. True when it rebuilt.
  bool refresh(const EntryStore& store);
  // Rebuilds from store: the entries that take part (readable times in slots 1 to 9999,
  // as the timing tools read them) and last at least a millisecond.
  void rebuild(const EntryStore& store);

  // Fills slots with the entries on screen at position (milliseconds; a finer position
  // rounded down): start <= position < end, lowest entry number first, as they are drawn
  // from the bottom up. An entry ending where another starts gives way to it; a zero-length
  // entry never shows.
  void at(std::int64_t position, std::vector<int>& slots) const;
  std::vector<int> at(std::int64_t position) const;

  // How many entries can show.
  std::size_t size() const { return starts_.size(); }

 private:
  // Adds to slots the entries among leaves [0, before) of the subtree at node (holding
  // leaves [from, from + width)) that end after position.
  void collect(std::size_t node, std::size_t from, std::size_t width, std::size_t before,
               std::int64_t position, std::vector<int>& slots) const;

  const EntryStore* store_ = nullptr;
  std::uint64_t revision_ = 0;
  // One per entry, sorted by start.
  std::vector<std::int64_t> starts_;
  std::vector<std::int64_t> ends_;
  std::vector<int> slots_;
  // The greatest end under each node of a complete binary tree over the entries (root 1,
  // leaves from leaves_ on): a whole block that ends by the position is skipped at once.
  std::vector<std::int64_t> greatestEnd_;
  std::size_t leaves_ = 0;
};

}  // namespace obrel
