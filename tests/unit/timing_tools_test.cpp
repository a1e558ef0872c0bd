// The timing tools over whole stores: which entries they read, the arithmetic and its
// rounding, the limits and refusals, and changes taken back byte for byte.
#include "document/timing_tools.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/entry_times.h"

namespace obrel {
namespace {

using Kind = TimingOutcome::Kind;

// An entry of eight parts given as "H|M|S|ms|H|M|S|ms", its timing line built from them and
// followed by tail.
Entry timed(const std::string& bars, const std::string& tail = "") {
  std::string p[8];
  std::size_t from = 0;
  for (std::string& part : p) {
    const std::size_t bar = bars.find('|', from);
    part = bars.substr(from, bar - from);
    from = bar + 1;
  }
  Entry e{"text", "", p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]};
  e.EntryTiming = timingLine(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]) + tail;
  return e;
}

std::vector<Entry> snapshot(const EntryStore& store) {
  std::vector<Entry> slots;
  slots.reserve(EntryStore::kLast + 1);
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) slots.push_back(store.at(k));
  return slots;
}

TEST(EntryTimes, WhichEntriesCanBeRead) {
  struct Case {
    const char* what;
    Entry entry;
    std::optional<EntryTimes> times;  // start, end, tailAt, usualWidths
  };
  Entry dotted = timed("00|00|01|000|00|00|04|000");
  dotted.EntryTiming = "00:00:01.000 --> 00:00:04.000";
  Entry untimed;
  untimed.EntryText = "no timing line";
  const Case cases[] = {
      {"usual", timed("00|00|01|000|00|00|04|000"), EntryTimes{1000, 4000, 29, true}},
      {"narrow parts", timed("0|0|1|5|0|0|2|25"), EntryTimes{1005, 2025, 20, false}},
      {"a kept tail", timed("01|02|03|004|01|02|05|000", " X1:100"),
       EntryTimes{3723004, 3725000, 29, true}},
      {"the latest time", timed("99|59|59|999|99|59|59|999"),
       EntryTimes{kLatestTime, kLatestTime, 29, true}},
      {"60 minutes", timed("00|60|00|000|00|00|01|000"), std::nullopt},
      {"60 seconds", timed("00|00|01|000|00|00|60|000"), std::nullopt},
      {"three-digit hours", timed("100|00|00|000|00|00|01|000"), std::nullopt},
      {"four-digit milliseconds", timed("00|00|00|0000|00|00|01|000"), std::nullopt},
      {"a letter", timed("00|00|0a|000|00|00|01|000"), std::nullopt},
      {"a sign", timed("00|00|-1|000|00|00|01|000"), std::nullopt},
      {"an empty part", timed("00|00||000|00|00|01|000"), std::nullopt},
      {"not ASCII digits", timed("00|00|\xd9\xa3|000|00|00|01|000"), std::nullopt},
      {"line not built from its parts", dotted, std::nullopt},
      {"no timing line", untimed, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<EntryTimes> t = readTimes(c.entry);
    ASSERT_EQ(t.has_value(), c.times.has_value());
    EXPECT_EQ(unreadableTimes(c.entry), !t && c.entry.present());
    if (!t) continue;
    EXPECT_EQ(t->start, c.times->start);
    EXPECT_EQ(t->end, c.times->end);
    EXPECT_EQ(t->tailAt, c.times->tailAt);
    EXPECT_EQ(t->usualWidths, c.times->usualWidths);
  }

  EntryStore store;
  for (int k : {0, 1, 9999, 10000}) store.edit(k) = timed("00|00|01|000|00|00|04|000");
  for (int k : {-1, 0, 10000, 10001}) EXPECT_FALSE(timesAt(store, k)) << k;
  for (int k : {1, 9999}) EXPECT_TRUE(timesAt(store, k)) << k;
}

TEST(EntryTimes, WritingKeepsTheTailAndWidensTheParts) {
  Entry e = timed("0|0|3|5|0|0|4|500", " X1:1 Y1:2");
  writeTimes(e, 7, kLatestTime, readTimes(e)->tailAt);
  EXPECT_EQ(e, timed("00|00|00|007|99|59|59|999", " X1:1 Y1:2"));
  EXPECT_EQ(formatTime(3723004), "01:02:03,004");
  EXPECT_EQ(unreadableTimesMessage(0), "");
  EXPECT_EQ(unreadableTimesMessage(1),
            "The times of 1 entry could not be read. It was left as it was.");
  EXPECT_EQ(unreadableTimesMessage(12),
            "The times of 12 entries could not be read. They were left as they were.");
}

TEST(TimeMap, RoundsOnceToTheNearestHalvesUp) {
  struct Case {
    std::int64_t t;
    TimeMap map;
    std::int64_t expected;
  };
  const Case cases[] = {
      {1, {0, 0, 1, 2}, 1},             // 0.5
      {3, {0, 0, 1, 2}, 2},             // 1.5
      {-1, {0, 0, 1, 2}, 0},            // -0.5 goes up, not away from zero
      {-3, {0, 0, 1, 2}, -1},           // -1.5
      {-4, {0, 0, 1, 3}, -1},           // -1.33
      {-5, {0, 0, 1, 3}, -2},           // -1.67: not truncated towards zero
      {999, {1000, 1000, 1, 2}, 1000},  // below the origin: 1000 - 0.5
      {997, {1000, 1000, 1, 2}, 999},   // 1000 - 1.5
      {1000, {0, 0, 25000, 23976}, 1043},
      {kLatestTime, {0, 0, 1'000'000, 1}, kLatestTime * 1'000'000},  // no overflow
      {kLatestTime,
       {0, -(std::int64_t{1} << 50), std::int64_t{1} << 50, 1},
       std::int64_t{1} << 62},  // held far outside the limits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.map(c.t), c.expected) << c.t << " " << c.map.num << "/" << c.map.den;
  }
}

TEST(FrameRate, TypedRates) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"23.976", 23976},
      {"24", 24000},
      {" 29.97 ", 29970},
      {"0.001", 1},
      {"1000", 1000000},
      {"059.94", 59940},
      {"1000.001", 0},
      {"0", 0},
      {"0.000", 0},
      {"25.", 0},
      {".5", 0},
      {"25,0", 0},
      {"23.9760", 0},
      {"-25", 0},
      {"1e3", 0},
      {"", 0},
      {"99999999999999999999999", 0},
  };
  for (const auto& [text, thousandths] : cases) {
    const std::optional<FrameRate> rate = readFrameRate(text);
    EXPECT_EQ(rate ? rate->thousandths : 0, thousandths) << text;
  }
}

// A small store: every kind of entry the tools meet, and entries in slots 0 and 10000
// that they must not touch.
EntryStore smallStore() {
  EntryStore store;
  store.edit(0) = timed("00|00|10|000|00|00|11|000");
  store.edit(1) = timed("00|00|01|000|00|00|02|000");
  store.edit(2) = timed("0|0|3|5|0|0|4|500", " X1:1");  // 3005 to 4500, narrow parts
  store.edit(3) = timed("00|61|00|000|00|61|01|000");   // unreadable
  store.edit(4).EntryText = "no timing line";
  store.edit(5) = timed("00|01|00|000|00|01|02|000");
  store.edit(10000) = timed("00|00|10|000|00|00|11|000");
  return store;
}

TEST(TimingTools, EachCommandOnASmallStore) {
  struct Case {
    const char* what;
    TimingCommand command;
    Kind kind;
    std::string lines;  // slots 1, 2 and 5 after the change, or the refusal's message
    int unreadable = 0;
  };
  const std::int64_t h = 3'600'000;
  const auto shift = [](std::int64_t amount, ShiftReach reach = ShiftReach::All, int current = 1) {
    return ShiftTimes{amount, std::nullopt, reach, current};
  };
  const Case cases[] = {
      {"later", shift(1500), Kind::Changed,
       "00:00:02,500 --> 00:00:03,500|00:00:04,505 --> 00:00:06,000 X1:1|"
       "00:01:01,500 --> 00:01:03,500",
       1},
      {"earlier to zero", shift(-1000), Kind::Changed,
       "00:00:00,000 --> 00:00:01,000|00:00:02,005 --> 00:00:03,500 X1:1|"
       "00:00:59,000 --> 00:01:01,000",
       1},
      {"one before zero", shift(-1001), Kind::Refused,
       "This would move entry 1 before 00:00:00,000.", 1},
      {"to the latest time", shift(kLatestTime - 2000, ShiftReach::CurrentOnly), Kind::Changed,
       "99:59:58,999 --> 99:59:59,999|0:0:3,5 --> 0:0:4,500 X1:1|00:01:00,000 --> 00:01:02,000"},
      {"past the latest time", shift(kLatestTime - 4499, ShiftReach::CurrentAndLater, 2),
       Kind::Refused, "This would move entry 2 past 99:59:59,999.", 1},
      {"the current and later", shift(-3000, ShiftReach::CurrentAndLater, 2), Kind::Changed,
       "00:00:01,000 --> 00:00:02,000|00:00:00,005 --> 00:00:01,500 X1:1|"
       "00:00:57,000 --> 00:00:59,000",
       1},
      {"the current only", shift(-60000, ShiftReach::CurrentOnly, 5), Kind::Changed,
       "00:00:01,000 --> 00:00:02,000|0:0:3,5 --> 0:0:4,500 X1:1|00:00:00,000 --> 00:00:02,000"},
      {"a new start", ShiftTimes{0, 30000, ShiftReach::CurrentAndLater, 5}, Kind::Changed,
       "00:00:01,000 --> 00:00:02,000|0:0:3,5 --> 0:0:4,500 X1:1|00:00:30,000 --> 00:00:32,000"},
      {"a new start moving all", ShiftTimes{0, 30000, ShiftReach::All, 5}, Kind::Refused,
       "This would move entry 1 before 00:00:00,000.", 1},
      {"an unreadable current entry", shift(5, ShiftReach::CurrentOnly, 3), Kind::Refused,
       "Entry 3 has no times."},
      {"a current entry without times", ShiftTimes{0, 5, ShiftReach::All, 4}, Kind::Refused,
       "Entry 4 has no times."},
      {"slot 0 as the current entry", shift(5, ShiftReach::CurrentAndLater, 0), Kind::Refused,
       "Entry 0 has no times."},
      {"no amount", shift(0), Kind::NoStep, "", 1},
      {"set start", SetStartAndShift{2, 10000}, Kind::Changed,
       "00:00:01,000 --> 00:00:02,000|00:00:10,000 --> 00:00:11,495 X1:1|"
       "00:01:06,995 --> 00:01:08,995",
       1},
      {"set start at the start", SetStartAndShift{2, 3005}, Kind::NoStep, "", 1},
      {"set start past the end", SetStartAndShift{5, 100 * h}, Kind::Refused,
       "This would move entry 5 past 99:59:59,999."},
      // 1 -> 0 and 5 -> 29.5 s halves every distance from entry 1: 2005 / 2 rounds up.
      {"synchronize", Synchronize{1, 5, 0, 29500}, Kind::Changed,
       "00:00:00,000 --> 00:00:00,500|00:00:01,003 --> 00:00:01,750 X1:1|"
       "00:00:29,500 --> 00:00:30,500",
       1},
      {"synchronize, the later entry first", Synchronize{5, 1, 29500, 0}, Kind::Changed,
       "00:00:00,000 --> 00:00:00,500|00:00:01,003 --> 00:00:01,750 X1:1|"
       "00:00:29,500 --> 00:00:30,500",
       1},
      {"synchronize to the present times", Synchronize{1, 5, 1000, 60000}, Kind::NoStep, "", 1},
      {"synchronize before zero", Synchronize{2, 5, 2000, 120000}, Kind::Refused,
       "This would move entry 1 before 00:00:00,000.", 1},
      {"synchronize one entry with itself", Synchronize{5, 5, 1000, 2000}, Kind::Refused,
       "The two entries must have different start times."},
      {"synchronize out of order", Synchronize{1, 5, 5000, 1000}, Kind::Refused,
       "The correct times must be in the same order as the entries."},
      {"synchronize to one time", Synchronize{5, 1, 1000, 1000}, Kind::Refused,
       "The correct times must be in the same order as the entries."},
      {"synchronize with no times", Synchronize{1, 3, 0, 1000}, Kind::Refused,
       "Entry 3 has no times."},
      {"frame rate", ChangeFrameRate{{25000}, {23976}}, Kind::Changed,
       "00:00:01,043 --> 00:00:02,085|00:00:03,133 --> 00:00:04,692 X1:1|"
       "00:01:02,563 --> 00:01:04,648",
       1},
      {"the same frame rate", ChangeFrameRate{{29970}, {29970}}, Kind::NoStep, "", 1},
      {"no frame rate", ChangeFrameRate{{25000}, {0}}, Kind::Refused, kBadFrameRateMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EntryStore store = smallStore();
    const std::vector<Entry> before = snapshot(store);
    TimingOutcome outcome = planTiming(store, c.command);
    ASSERT_EQ(outcome.kind, c.kind) << outcome.message;
    EXPECT_EQ(outcome.unreadable, c.unreadable);
    EXPECT_TRUE(snapshot(store) == before);  // planning changes nothing
    if (c.kind == Kind::Refused) {
      EXPECT_EQ(outcome.message, c.lines);
      continue;
    }
    if (c.kind == Kind::NoStep) {
      EXPECT_TRUE(outcome.change.empty());
      continue;
    }
    outcome.change.apply(store);
    EXPECT_EQ(
        store.at(1).EntryTiming + "|" + store.at(2).EntryTiming + "|" + store.at(5).EntryTiming,
        c.lines);
    for (int k : {0, 3, 4, 10000}) EXPECT_EQ(store.at(k), before[k]) << k;
    const std::vector<Entry> after = snapshot(store);
    outcome.change.revert(store);
    EXPECT_TRUE(snapshot(store) == before);
    outcome.change.apply(store);
    EXPECT_TRUE(snapshot(store) == after);
  }
}

TEST(TimingTools, AnEmptyStore) {
  const EntryStore store;
  EXPECT_EQ(planTiming(store, ShiftTimes{1000, std::nullopt, ShiftReach::All, 0}).kind,
            Kind::NoStep);
  EXPECT_EQ(planTiming(store, ChangeFrameRate{{24000}, {25000}}).kind, Kind::NoStep);
  EXPECT_EQ(planTiming(store, SetStartAndShift{1, 0}).message, "Entry 1 has no times.");
  EXPECT_EQ(planTiming(store, Synchronize{1, 2, 0, 1}).message, "Entry 1 has no times.");
  EXPECT_FALSE(firstAndLastTimed(store));

  EntryStore one = smallStore();
  one.edit(1) = Entry{};
  one.edit(5) = Entry{};
  EXPECT_FALSE(firstAndLastTimed(one));  // only entry 2 has times
  EXPECT_EQ(firstAndLastTimed(smallStore()), (std::pair{1, 5}));
}

// A full store of every kind of entry, changed by random commands one after another: each
// change reverted gives back the store before it, applied again the store after it, and
// all reverted the first store.
TEST(TimingTools, ChangesTakenBackAndRepeatedGiveTheWholeStore) {
  std::mt19937 random(23);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  EntryStore store;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    const int start = 3'600'000 + k * 2000 + pick(1000);
    const std::string s = formatTime(start), e = formatTime(start + pick(3000));
    const std::string bars = s.substr(0, 2) + "|" + s.substr(3, 2) + "|" + s.substr(6, 2) + "|" +
                             s.substr(9) + "|" + e.substr(0, 2) + "|" + e.substr(3, 2) + "|" +
                             e.substr(6, 2) + "|" + e.substr(9);
    switch (pick(8)) {
      case 0: store.edit(k) = timed(bars, " X1:" + std::to_string(k)); break;
      case 1: store.edit(k) = timed("1|" + bars.substr(3)); break;  // a narrow hour
      case 2: store.edit(k) = timed(bars.substr(0, 9) + "7|" + bars.substr(13)); break;
      case 3: store.edit(k) = timed(bars.substr(0, 3) + "75|" + bars.substr(6)); break;
      case 4: store.edit(k).EntryText = "untimed"; break;
      default: store.edit(k) = timed(bars);
    }
  }
  const std::vector<Entry> first = snapshot(store);
  const auto cut = [&]() -> std::int64_t { return 1 + pick(9998); };
  std::vector<TimingChange> done;
  std::vector<std::vector<Entry>> afters;
  for (int round = 0; round < 12; ++round) {
    TimingCommand command;
    switch (round % 4) {
      case 0:
        command = ShiftTimes{pick(200'000) - 100'000, std::nullopt, ShiftReach(pick(3)),
                             static_cast<int>(cut())};
        break;
      case 1: command = ChangeFrameRate{{23976 + pick(2000)}, {25000}}; break;
      case 2:
        command = SetStartAndShift{static_cast<int>(cut()), 3'000'000 + pick(2'000'000)};
        break;
      case 3:
        command = Synchronize{static_cast<int>(cut()), static_cast<int>(cut()), 3'700'000,
                              3'700'000 + 1'000'000 + pick(50'000'000)};
        break;
    }
    TimingOutcome outcome = planTiming(store, command);
    if (outcome.kind != Kind::Changed) continue;
    const std::vector<Entry> before = snapshot(store);
    outcome.change.apply(store);
    const std::vector<Entry> after = snapshot(store);
    outcome.change.revert(store);
    ASSERT_TRUE(snapshot(store) == before) << round;
    outcome.change.apply(store);
    ASSERT_TRUE(snapshot(store) == after) << round;
    done.push_back(std::move(outcome.change));
  }
  EXPECT_GE(done.size(), 6u);
  for (auto change = done.rbegin(); change != done.rend(); ++change) change->revert(store);
  EXPECT_TRUE(snapshot(store) == first);
}

TEST(TimingChange, AFullStoreStepIsSmall) {
  EntryStore store;
  for (int k = 1; k <= kLastEntry; ++k) store.edit(k) = timed("00|00|01|000|00|00|04|000");
  const TimingOutcome outcome = planTiming(store, ShiftTimes{1, std::nullopt, ShiftReach::All, 0});
  ASSERT_EQ(outcome.change.touched(), kLastEntry);
  EXPECT_LE(outcome.change.memoryBytes(), 100'000u);
  EXPECT_GE(outcome.change.memoryBytes(), 8u * kLastEntry);
  EXPECT_STREQ(outcome.change.name(), "Shift Times");
}

}  // namespace
}  // namespace obrel
