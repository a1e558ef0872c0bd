#pragma once
// An entry's start and end as milliseconds: which entries have times that the timing tools
// and the player can read, and the timing line written back from new times.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "document/entry_store.h"

namespace obrel {

// The slots whose times are read are 1 to kLastEntry; slots 0 and 10000 never take part.
constexpr int kFirstTimedEntry = 1;
// 99:59:59,999, the latest time the timing line's widths hold, in milliseconds.
constexpr std::int64_t kLatestTime = 359'999'999;

// The milliseconds of a time given by its four values (no range check).
constexpr std::int64_t millisOf(std::int64_t hours, std::int64_t minutes, std::int64_t seconds,
                                std::int64_t millis) {
  return ((hours * 60 + minutes) * 60 + seconds) * 1000 + millis;
}

// An entry's times as read from its eight parts.
struct EntryTimes {
  std::int64_t start = 0;  // milliseconds
  std::int64_t end = 0;
  // The length of the timing line built from the parts; what follows (a position, say) is
  // the kept tail.
  std::size_t tailAt = 0;
  // Every part already has the width writeTimes gives it (2, 2, 2, 3), so writing these
  // times back over the entry leaves it exactly as it is.
  bool usualWidths = true;
};

// The times of an entry that has readable ones: a non-empty timing line; eight parts of
// ASCII digits only, 1-2 wide for hours, minutes and seconds and 1-3 for milliseconds;
// minutes and seconds below 60; and a timing line that begins with the line built from
// the parts. nullopt otherwise. Says nothing of the slot (see timesAt).
std::optional<EntryTimes> readTimes(const Entry& entry);

// Whether the entry has a timing line but readTimes cannot read it: an entry the tools
// count as "could not be read".
bool unreadableTimes(const Entry& entry);

// The times of slot k when it takes part: readTimes in slots 1 to 9999, nullopt in any
// other slot, also one outside the store.
std::optional<EntryTimes> timesAt(const EntryStore& store, int k);

// Sets entry's eight parts to start and end (each 0 to kLatestTime) with the widths 2, 2, 2,
// 3, and its timing line to the standard line built from them followed by what the old line
// holds from tailAt on (nothing when tailAt is past its end).
void writeTimes(Entry& entry, std::int64_t start, std::int64_t end, std::size_t tailAt);

// A time of 0 to kLatestTime as the timing line writes it: "01:02:03,004".
std::string formatTime(std::int64_t millis);

// The message after a command that left count entries alone because their times could not
// be read; empty for 0.
std::string unreadableTimesMessage(int count);

// "Entry N has no times.": the current entry, or one named, does not take part.
std::string noTimesMessage(int entry);

}  // namespace obrel
