#pragma once
// The entry store: ten values per entry in slots 0 to 10000. Everything is text; numbers
// are derived from it only to compare.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace obrel {

// The last entry the user works with: the index box holds four digits, ">" stops here, and
// a file's entries past it are not read. The store has one slot more (EntryStore::kLast).
constexpr int kLastEntry = 9999;

struct Entry {
  std::string EntryText;  // lines joined by CR LF, no line break after the last
  std::string EntryTiming;
  std::string StartHours, StartMinutes, StartSeconds, StartMillis;
  std::string EndHours, EndMinutes, EndSeconds, EndMillis;

  // Present for the writer: the timing line is not empty.
  bool present() const { return !EntryTiming.empty(); }
  // Timed for Insert and Delete: at least one of the eight time parts is not empty.
  bool timed() const;
  bool empty() const;
  bool operator==(const Entry&) const = default;
};

// The timing line of the eight parts, with nothing added or removed:
// "00:00:01,000 --> 00:00:04,000".
std::string timingLine(const std::string& startHours, const std::string& startMinutes,
                       const std::string& startSeconds, const std::string& startMillis,
                       const std::string& endHours, const std::string& endMinutes,
                       const std::string& endSeconds, const std::string& endMillis);

class EntryStore {
 public:
  static constexpr int kFirst = 0;
  static constexpr int kLast = 10000;

  // Slot k to read; throws IndexOutOfRange outside 0 to 10000. Until the first edit every
  // slot reads as empty.
  const Entry& at(int k) const;
  // Slot k to change, counted as a change of the store. The slots (3.2 MB) are made on the
  // first edit, so a store only ever read, or never used, costs nothing.
  Entry& edit(int k);

  // Takes other's slots as this store's, a change like any other.
  void take(EntryStore&& other);

  // Empties slots from..10000 (the resets use 1).
  void clearFrom(int from);

  // Entries k..9999 move one slot up and slot k is left empty; returns what slot 10000 held,
  // which the move drops. Throws IndexOutOfRange outside 0 to 10000.
  Entry insertAt(int k);
  // Entries k+1..10000 move one slot down and slot 10000 is left empty; returns what slot k
  // held. Throws IndexOutOfRange outside 0 to 10000.
  Entry removeAt(int k);

  // Goes up at every edit and clear, never down: equal revisions mean an unchanged store.
  std::uint64_t revision() const { return revision_; }

 private:
  std::unique_ptr<std::array<Entry, kLast + 1>> slots_;
  std::uint64_t revision_ = 0;
};

}  // namespace obrel
