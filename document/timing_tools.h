#pragma once
// The whole-store timing tools: shift, synchronise, change the frame rate, set a start and
// shift the rest. Each is planned over the store without touching it; what it comes to is a
// value: a change to apply (and to keep for Undo and Redo), no step, or a refusal with its
// message. New times are exact 64-bit arithmetic rounded once, halves up.
//
// Which entries take part: slots 1 to 9999 whose times readTimes can read. Entries in the
// command's reach with a timing line that cannot be read are left alone and counted; slots
// without a timing line are skipped silently. An entry whose times come out the same is
// left exactly as it is (its parts are not widened).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "document/entry_store.h"
#include "document/timing_change.h"

namespace obrel {

// Which entries a shift moves.
enum class ShiftReach { All, CurrentAndLater, CurrentOnly };

// Shift Times: every start and end in reach moves by amount (negative for Earlier), or,
// when newStart is given, by the difference that puts the current entry's start there.
// CurrentAndLater, CurrentOnly and newStart need the current entry to take part.
struct ShiftTimes {
  std::int64_t amount = 0;  // milliseconds
  std::optional<std::int64_t> newStart;
  ShiftReach reach = ShiftReach::All;
  int current = 0;  // CurrentIndex
};

// Synchronize: with SA and SB the present starts of entries first and second, and A and B
// their correct starts, every time t becomes A + (t - SA) (B - A) / (SB - SA).
struct Synchronize {
  int first = 0, second = 0;                     // entry numbers
  std::int64_t firstStart = 0, secondStart = 0;  // A and B, milliseconds
};

// A frame rate as the decimal shown: 23.976 is 23976 thousandths.
struct FrameRate {
  std::int64_t thousandths = 0;
  bool operator==(const FrameRate&) const = default;
};

// Change Frame Rate: every time t becomes t * from / to.
struct ChangeFrameRate {
  FrameRate from, to;
};

// Set Start from Video and Shift the Rest: the current entry's start becomes newStart, and
// the same difference is added to its end and to every later entry that takes part.
struct SetStartAndShift {
  int current = 0;
  std::int64_t newStart = 0;  // milliseconds
};

using TimingCommand = std::variant<ShiftTimes, Synchronize, ChangeFrameRate, SetStartAndShift>;

// A typed frame rate: digits with at most three decimals after a point, blanks around
// allowed, above 0 and at most 1000; nullopt for anything else (say kBadFrameRateMessage).
std::optional<FrameRate> readFrameRate(std::string_view text);
inline constexpr const char* kBadFrameRateMessage =
    "The frame rate must be a number above 0 and at most 1000.";

// The rates the frame rate lists offer, in order.
inline constexpr const char* kFrameRateChoices[] = {"23.976", "24", "25",    "29.97",
                                                    "30",     "50", "59.94", "60"};

// What a timing command comes to.
struct TimingOutcome {
  enum class Kind {
    Changed,  // change holds the step, not yet applied: change.apply(store) makes it
    NoStep,   // the result equals the store: no step, no change, nothing shown
    Refused,  // message says why (entry: the entry it names, or 0); nothing changes
  };
  Kind kind = Kind::NoStep;
  TimingChange change;
  std::string message;
  int entry = 0;
  // Entries in the command's reach that have a timing line that could not be read; after a
  // change, say unreadableTimesMessage(unreadable) when it is not 0.
  int unreadable = 0;
};

// Plans command over store without changing it. Refusals, checked in this order: "Entry N
// has no times." (a needed entry does not take part); for Synchronize "The two entries must
// have different start times." and "The correct times must be in the same order as the
// entries."; kBadFrameRateMessage for a rate not above 0 and at most 1000; then "This would
// move entry N before 00:00:00,000." / "... past 99:59:59,999.", N the first entry by
// number with a new start or end outside the limits. Given times beyond +-2^50 ms are taken
// as +-2^50: that far outside the limits, the outcome is the same.
TimingOutcome planTiming(const EntryStore& store, const TimingCommand& command);

// The first and the last slot that take part, when there are two (Synchronize opens with
// them); nullopt with fewer ("Synchronize needs two entries with times.").
std::optional<std::pair<int, int>> firstAndLastTimed(const EntryStore& store);
inline constexpr const char* kSynchronizeNeedsTwoMessage =
    "Synchronize needs two entries with times.";

}  // namespace obrel
