#include "document/timing_tools.h"

#include <algorithm>
#include <utility>

#include "document/entry_times.h"

namespace obrel {

namespace {

constexpr std::int64_t kFarTime = std::int64_t{1} << 50;
constexpr std::int64_t kMostThousandths = 1'000'000;  // 1000 frames a second

std::int64_t held(std::int64_t t) { return std::clamp(t, -kFarTime, kFarTime); }

TimingOutcome refusal(std::string message, int entry = 0) {
  TimingOutcome outcome;
  outcome.kind = TimingOutcome::Kind::Refused;
  outcome.message = std::move(message);
  outcome.entry = entry;
  return outcome;
}

// A command resolved against the store: its formula and the slots it reaches, or a refusal.
struct Plan {
  Plan(const char* name, TimeMap map = {}) : name(name), map(map) {}
  const char* name;
  TimeMap map;
  int first = kFirstTimedEntry, last = kLastEntry;
  std::optional<TimingOutcome> refused;
};

Plan planShift(const EntryStore& store, const ShiftTimes& c, const char* name) {
  Plan plan(name);
  if (c.reach != ShiftReach::All || c.newStart) {
    const std::optional<EntryTimes> current = timesAt(store, c.current);
    if (!current) {
      plan.refused = refusal(noTimesMessage(c.current), c.current);
      return plan;
    }
    plan.map.base = c.newStart ? held(*c.newStart) - current->start : held(c.amount);
    if (c.reach != ShiftReach::All) plan.first = c.current;
    if (c.reach == ShiftReach::CurrentOnly) plan.last = c.current;
  } else {
    plan.map.base = held(c.amount);
  }
  return plan;
}

Plan planOf(const EntryStore& store, const ShiftTimes& c) {
  return planShift(store, c, "Shift Times");
}

Plan planOf(const EntryStore& store, const SetStartAndShift& c) {
  return planShift(store, ShiftTimes{0, c.newStart, ShiftReach::CurrentAndLater, c.current},
                   "Set Start and Shift");
}

Plan planOf(const EntryStore& store, const Synchronize& c) {
  Plan plan("Synchronize");
  const std::optional<EntryTimes> first = timesAt(store, c.first);
  const std::optional<EntryTimes> second = timesAt(store, c.second);
  if (!first || !second) {
    const int missing = first ? c.second : c.first;
    plan.refused = refusal(noTimesMessage(missing), missing);
    return plan;
  }
  const std::int64_t sa = first->start, sb = second->start;
  const std::int64_t a = held(c.firstStart), b = held(c.secondStart);
  if (sa == sb) {
    plan.refused = refusal("The two entries must have different start times.");
  } else if ((a < b) != (sa < sb) || a == b) {
    plan.refused = refusal("The correct times must be in the same order as the entries.");
  } else {
    // The denominator kept positive, as TimeMap wants it.
    const bool flip = sb < sa;
    plan.map = TimeMap{a, sa, flip ? a - b : b - a, flip ? sa - sb : sb - sa};
  }
  return plan;
}

Plan planOf(const EntryStore&, const ChangeFrameRate& c) {
  Plan plan("Change Frame Rate", TimeMap{0, 0, c.from.thousandths, c.to.thousandths});
  for (const FrameRate rate : {c.from, c.to}) {
    if (rate.thousandths <= 0 || rate.thousandths > kMostThousandths) {
      plan.refused = refusal(kBadFrameRateMessage);
    }
  }
  return plan;
}

std::string limitMessage(int entry, bool before) {
  return "This would move entry " + std::to_string(entry) +
         (before ? " before 00:00:00,000." : " past 99:59:59,999.");
}

}  // namespace

std::optional<FrameRate> readFrameRate(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);

  std::int64_t whole = 0;
  std::size_t at = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    whole = whole * 10 + (text[at] - '0');
    if (whole > kMostThousandths) return std::nullopt;  // long before it could overflow
  }
  if (at == 0) return std::nullopt;
  std::int64_t thousandths = whole * 1000;
  if (at < text.size()) {
    if (text[at] != '.' || text.size() - at - 1 < 1 || text.size() - at - 1 > 3)
      return std::nullopt;
    std::int64_t scale = 100;
    for (++at; at < text.size(); ++at, scale /= 10) {
      if (text[at] < '0' || text[at] > '9') return std::nullopt;
      thousandths += (text[at] - '0') * scale;
    }
  }
  if (thousandths <= 0 || thousandths > kMostThousandths) return std::nullopt;
  return FrameRate{thousandths};
}

TimingOutcome planTiming(const EntryStore& store, const TimingCommand& command) {
  Plan plan = std::visit([&](const auto& c) { return planOf(store, c); }, command);
  if (plan.refused) return std::move(*plan.refused);

  TimingOutcome outcome;
  outcome.change = TimingChange(plan.name, plan.map);
  for (int k = plan.first; k <= plan.last; ++k) {
    const Entry& entry = store.at(k);
    if (entry.EntryTiming.empty()) continue;
    const std::optional<EntryTimes> times = readTimes(entry);
    if (!times) {
      ++outcome.unreadable;
      continue;
    }
    if (outcome.kind == TimingOutcome::Kind::Refused) continue;  // still counting
    const std::int64_t start = plan.map(times->start), end = plan.map(times->end);
    if (start < 0 || end < 0 || start > kLatestTime || end > kLatestTime) {
      // Named by its start when that is out, else by its end.
      const bool before = start < 0 || (start <= kLatestTime && end < 0);
      const int unreadable = outcome.unreadable;
      outcome = refusal(limitMessage(k, before), k);
      outcome.unreadable = unreadable;
      continue;
    }
    if (start != times->start || end != times->end) outcome.change.add(k, *times, entry);
  }
  if (outcome.kind == TimingOutcome::Kind::Refused) return outcome;
  outcome.change.shrink();
  outcome.kind =
      outcome.change.empty() ? TimingOutcome::Kind::NoStep : TimingOutcome::Kind::Changed;
  return outcome;
}

std::optional<std::pair<int, int>> firstAndLastTimed(const EntryStore& store) {
  int first = kFirstTimedEntry;
  while (first <= kLastEntry && !timesAt(store, first)) ++first;
  int last = kLastEntry;
  while (last > first && !timesAt(store, last)) --last;
  if (last <= first) return std::nullopt;
  return std::pair{first, last};
}

}  // namespace obrel
