// The entries on screen at a playback position: edges, overlaps, long entries, and an
// index that follows the store.
#include "preview/screen_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/entry_times.h"
#include "preview/store_subtitles.h"
#include "preview/styled_text.h"
#include "testing/fakes.h"

namespace obrel {
namespace {

void put(EntryStore& store, int k, std::int64_t start, std::int64_t end,
         const std::string& text = "") {
  Entry& e = store.edit(k);
  e.EntryTiming = "x";
  writeTimes(e, start, end, 1);
  e.EntryText = text.empty() ? "Entry " + std::to_string(k) : text;
}

TEST(ScreenIndex, EntriesAtEachPosition) {
  EntryStore store;
  put(store, 0, 0, 100'000);  // slot 0 never shows
  put(store, 1, 2800, 4000);  // overlaps entry 2, starts after it
  put(store, 2, 1000, 3000);
  put(store, 3, 3000, 3500);  // starts where entry 2 ends
  put(store, 4, 2500, 2500);  // zero length
  put(store, 5, 6000, 5000);  // ends before it starts
  put(store, 6, 4500, 5000);
  store.edit(6).StartMinutes = "5";  // no longer the line's parts: unreadable
  put(store, 10000, 0, 100'000);
  ScreenIndex index;
  index.refresh(store);
  const std::pair<std::int64_t, std::vector<int>> cases[] = {
      {-1, {}},    {0, {}},        {999, {}},      {1000, {2}},    {2500, {2}},
      {2799, {2}}, {2800, {1, 2}}, {2999, {1, 2}}, {3000, {1, 3}}, {3499, {1, 3}},
      {3500, {1}}, {3999, {1}},    {4000, {}},     {4700, {}},     {5500, {}},
  };
  for (const auto& [position, slots] : cases) EXPECT_EQ(index.at(position), slots) << position;
  EXPECT_EQ(index.size(), 3u);
  EXPECT_EQ(screenText(store, index.at(2900)), "Entry 2 / Entry 1");
  EXPECT_EQ(screenText(store, index.at(4000)), "");
}

TEST(ScreenIndex, AnHourLongEntryOverFiveHundredLaterOnes) {
  EntryStore store;
  put(store, 1, 0, 3'600'000);
  for (int k = 2; k <= 501; ++k) put(store, k, k * 5000, k * 5000 + 2000);
  ScreenIndex index;
  index.refresh(store);
  EXPECT_EQ(index.at(0), std::vector<int>{1});
  EXPECT_EQ(index.at(10'000), (std::vector<int>{1, 2}));
  EXPECT_EQ(index.at(12'500), std::vector<int>{1});
  EXPECT_EQ(index.at(2'505'000), (std::vector<int>{1, 501}));
  EXPECT_EQ(index.at(3'600'000), std::vector<int>{});
}

// Random stores, the index against a look at every entry.
TEST(ScreenIndex, AgreesWithAScanOfEveryEntry) {
  std::mt19937 random(24);
  for (int round = 0; round < 20; ++round) {
    EntryStore store;
    const int entries = 1 + static_cast<int>(random() % 300);
    for (int k = 1; k <= entries; ++k) {
      const std::int64_t start = random() % 20'000;
      put(store, k, start, start + random() % (round % 2 ? 3000 : 200));
    }
    ScreenIndex index;
    index.refresh(store);
    std::vector<EntryTimes> times;
    for (int k = 1; k <= entries; ++k) times.push_back(*timesAt(store, k));
    for (std::int64_t position = -5; position < 23'000; position += 1 + random() % 40) {
      std::vector<int> expected;
      for (int k = 1; k <= entries; ++k) {
        const EntryTimes& t = times[k - 1];
        if (t.start <= position && position < t.end) expected.push_back(k);
      }
      ASSERT_EQ(index.at(position), expected) << round << " at " << position;
    }
  }
}

TEST(ScreenIndex, RebuiltOnlyWhenTheStoreMoves) {
  EntryStore store, other;
  put(store, 1, 1000, 2000);
  ScreenIndex index;
  EXPECT_TRUE(index.refresh(store));
  EXPECT_FALSE(index.refresh(store));
  put(store, 2, 1500, 2500);
  EXPECT_TRUE(index.refresh(store));
  EXPECT_EQ(index.at(1600), (std::vector<int>{1, 2}));
  store.clearFrom(1);
  EXPECT_TRUE(index.refresh(store));
  EXPECT_EQ(index.at(1600), std::vector<int>{});
  EXPECT_TRUE(index.refresh(other));  // another store, whatever its revision
}

// The stand-in player draws what its source gives at its position, read at whole
// milliseconds (12.345 s is not 12344 ms), as the driver prints it: the top entry first.
TEST(ScreenIndex, TheStandInPlayerDrawsTheEntriesAtItsPosition) {
  EntryStore store;
  put(store, 1, 12'000, 12'345, "<i>One</i>\r\ntwo");
  put(store, 2, 12'345, 13'000, "<b>Three</b>");
  put(store, 3, 12'300, 14'000, "Four");
  StoreSubtitles subtitles(store);
  fake::ScriptedPlayer player;
  player.setSubtitleSource([&](std::int64_t position) { return subtitles.at(position); });
  EXPECT_EQ(screenText(player.subtitles()), "");  // no video
  player.setUrl("clip.avi");
  const std::pair<double, const char*> cases[] = {
      {12.0, "One / two"},
      {12.3, "Four / One / two"},
      {12.344, "Four / One / two"},
      {12.345, "Four / Three"},
      {12.3459, "Four / Three"},
      {13.0, "Four"},
      {14.0, ""},
  };
  for (const auto& [seconds, text] : cases) {
    player.setPosition(seconds);
    EXPECT_EQ(screenText(player.subtitles()), text) << seconds;
  }
  // As a paused player, it keeps what it drew until it moves or is told the entries changed.
  player.setPosition(13.5);
  put(store, 4, 13'000, 14'000, "Five");
  EXPECT_EQ(screenText(player.subtitles()), "Four");
  player.refreshSubtitles();
  EXPECT_EQ(screenText(player.subtitles()), "Five / Four");
  player.setSubtitlesShown(false);
  EXPECT_EQ(screenText(player.subtitles()), "");
}

}  // namespace
}  // namespace obrel
