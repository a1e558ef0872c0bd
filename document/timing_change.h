#pragma once
// One change of a timing tool as a compact, reversible record: the old times of the entries
// it touched in milliseconds (8 bytes each), the exact parts only of entries whose parts
// cannot be rebuilt from them, and the formula that gives the new times from the old.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/entry_store.h"
#include "document/entry_times.h"

namespace obrel {

// t -> base + (t - origin) * num / den, exact, rounded once to the nearest millisecond with
// halves up (towards the later time, also below zero). den > 0. Every timing tool's formula
// has this form. A result beyond +-2^62 is held there: it lies far outside the limits.
struct TimeMap {
  std::int64_t base = 0;
  std::int64_t origin = 0;
  std::int64_t num = 1;
  std::int64_t den = 1;

  std::int64_t operator()(std::int64_t t) const;
};

class TimingChange {
 public:
  // A change of nothing, named after its command ("Shift Times"), whose new times map gives.
  TimingChange(const char* name = "", TimeMap map = {});

  // For the command that builds it: slot k, whose times before the change are `before`
  // (as readTimes read entry), is touched. Slots are added in increasing order.
  void add(int k, const EntryTimes& before, const Entry& entry);
  // Gives back what adding reserved beyond what the record holds.
  void shrink();

  // Applies the change (the first time, and for Redo) to store, which must be exactly as it
  // was when the change was built.
  void apply(EntryStore& store) const;
  // Takes it back (Undo), on store exactly as apply left it: byte for byte as before.
  void revert(EntryStore& store) const;

  // The command's name for the Undo and Redo captions: "Shift Times", "Synchronize",
  // "Change Frame Rate" or "Set Start and Shift".
  const char* name() const { return name_; }
  // How many entries it touches; 0 is no step.
  int touched() const { return static_cast<int>(old_.size()); }
  bool empty() const { return old_.empty(); }
  // The first and last slot it touches (0 when it touches none).
  int firstSlot() const { return first_; }
  int lastSlot() const { return last_; }
  // The heap and object memory it holds, in bytes (the history counts it against its cap).
  std::size_t memoryBytes() const;

 private:
  struct OldTimes {
    std::uint32_t start, end;  // 99:59:59,999 is 359,999,999 ms
  };
  // An entry whose parts have other widths than 2, 2, 2, 3 ("5" for "05").
  struct ExactParts {
    int slot;
    std::string parts[8];
  };
  // Calls visit(slot, old times, exact parts or nullptr) for each touched slot in order.
  template <typename Visit>
  void forEach(Visit visit) const;

  const char* name_;
  TimeMap map_;
  int first_ = 0;
  int last_ = 0;
  std::vector<std::uint64_t> touchedBits_;  // bit k - first_: slot k is touched
  std::vector<OldTimes> old_;               // one per touched slot, in slot order
  std::vector<ExactParts> exact_;           // in slot order
};

}  // namespace obrel
