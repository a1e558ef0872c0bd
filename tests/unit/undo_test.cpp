// Undo and Redo against whole stores: each step taken back gives the store it started
// from, slot by slot with slots 0 and 10000, and repeated gives the store it made.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "document/store_search.h"
#include "document/timing_tools.h"
#include "document/undo_history.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"

namespace obrel {
namespace {

std::vector<Entry> snapshot(const EntryStore& store) {
  std::vector<Entry> slots;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) slots.push_back(store.at(k));
  return slots;
}

Entry sample(int k) {
  Entry e;
  e.StartHours = e.EndHours = "00";
  e.StartMinutes = e.EndMinutes = "01";
  e.StartSeconds = std::to_string(k % 60);
  e.EndSeconds = std::to_string(k % 60 + 1);
  e.StartMillis = "000";
  e.EndMillis = "5";  // not widened: the steps keep values exactly
  e.EntryTiming = timingLine(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                             e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
  e.EntryText = "Entry " + std::to_string(k) + "\r\nline two";
  return e;
}

struct Case {
  const char* name;
  bool lastSlotFilled;  // slot 10000 holds an entry (Insert refuses then)
  std::function<void(fake::TestWindow&)> command;
};

void reply(fake::TestWindow& w, const char* text, const char* thenCommand) {
  w.prompts.replies.push_back(std::string(text));
  w.prompts.standingAnswer = Answer::Yes;
  w.form.findMenu(thenCommand)->onClick();
}

void commitAt(fake::TestWindow& w, int k) {
  fake::commitEntry(w.form, k, "Committed", {"7", "7", "7", "1", "7", "7", "7", "2"});
}

TEST(Undo, EachStepTakenBackAndRepeatedGivesTheWholeStore) {
  const Case cases[] = {
      {"commit over an entry", false, [](fake::TestWindow& w) { commitAt(w, 5); }},
      {"commit at 9999", false, [](fake::TestWindow& w) { commitAt(w, 9999); }},
      {"insert at 1", false, [](fake::TestWindow& w) { reply(w, "1", "InsertNewEntry"); }},
      {"insert at 9999", false, [](fake::TestWindow& w) { reply(w, "9999", "InsertNewEntry"); }},
      {"clear", true, [](fake::TestWindow& w) { reply(w, "3", "ClearEntry"); }},
      {"delete at 0", true, [](fake::TestWindow& w) { reply(w, "0", "DeleteEntry"); }},
      {"delete at 2", true, [](fake::TestWindow& w) { reply(w, "2", "DeleteEntry"); }},
      {"delete at 9999", true, [](fake::TestWindow& w) { reply(w, "9999", "DeleteEntry"); }},
      {"delete at 10000", true, [](fake::TestWindow& w) { reply(w, "10000", "DeleteEntry"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::TestWindow w;
    EntryStore store;
    for (int k : {0, 1, 2, 3, 5, 9998, 9999}) store.edit(k) = sample(k);
    if (c.lastSlotFilled) store.edit(EntryStore::kLast) = sample(EntryStore::kLast);
    fake::takeDocument(w.form, std::move(store));
    const std::vector<Entry> before = snapshot(w.form.document().store);
    c.command(w);
    const std::vector<Entry> after = snapshot(w.form.document().store);
    ASSERT_NE(after, before);
    ASSERT_TRUE(w.form.Undo.enabled());

    w.form.Undo_Click();
    EXPECT_TRUE(snapshot(w.form.document().store) == before);
    w.form.Redo_Click();
    EXPECT_TRUE(snapshot(w.form.document().store) == after);
    w.form.Undo_Click();
    EXPECT_TRUE(snapshot(w.form.document().store) == before);
    EXPECT_FALSE(w.form.Undo.enabled());
  }
}

TEST(Undo, TheHistoryKeepsTheLastThousandSteps) {
  fake::TestWindow w;
  w.prompts.standingReply.emplace("4");
  for (int i = 0; i < 1001; ++i) w.form.ClearEntry_Click();
  int undone = 0;
  while (w.form.Undo.enabled()) {
    w.form.Undo_Click();
    ++undone;
  }
  EXPECT_EQ(undone, 1000);
  EXPECT_EQ(w.form.Redo.caption(), "Redo Clear");
}

TEST(Undo, WholeStoreStepsAreTakenBackAndRepeatedExactly) {
  EntryStore store;
  for (int k = 1; k <= 3; ++k) store.edit(k) = sample(k);
  const std::vector<Entry> before = snapshot(store);
  UndoHistory history;
  TimingOutcome shift = planTiming(store, ShiftTimes{1500, std::nullopt, ShiftReach::All, 2});
  ASSERT_EQ(shift.kind, TimingOutcome::Kind::Changed);
  shift.change.apply(store);
  history.record(UndoStep::timing(2, std::move(shift.change)));
  ReplaceAllResult replaced = replaceAll(store, SearchQuery("line", {}), "row");
  ASSERT_EQ(replaced.replacements, 3u);
  history.record(UndoStep::texts(3, "Replace All", std::move(replaced.changes)));
  const std::vector<Entry> after = snapshot(store);
  EXPECT_EQ(store.at(1).EntryTiming, "00:01:02,500 --> 00:01:03,505");
  EXPECT_EQ(history.undoCaption(), "Undo Replace All");

  EXPECT_EQ(history.undo(store), 3);
  EXPECT_EQ(history.undoCaption(), "Undo Shift Times");
  EXPECT_EQ(history.undo(store), 2);
  EXPECT_TRUE(snapshot(store) == before);
  EXPECT_EQ(history.redo(store), 2);
  EXPECT_EQ(history.redo(store), 3);
  EXPECT_TRUE(snapshot(store) == after);
}

TEST(Undo, TheOldestStepsGoWhenTheHistoryHoldsTooMuchMemory) {
  const auto cleared = [](int k, std::size_t size) {
    Entry before;
    before.EntryText.assign(size, 'x');
    return UndoStep{UndoStep::Kind::Clear, k, std::move(before), {}};
  };
  const std::size_t one = cleared(0, 3000).memoryBytes();
  UndoHistory history(3 * one + one / 2);
  for (int k = 1; k <= 5; ++k) history.record(cleared(k, 3000));
  EXPECT_EQ(history.size(), 3u);
  EXPECT_EQ(history.memoryBytes(), 3 * one);
  // A step larger than the whole cap is still kept, alone.
  history.record(cleared(6, 20'000));
  EXPECT_EQ(history.size(), 1u);
  EntryStore store;
  EXPECT_EQ(history.undo(store), 6);
  EXPECT_EQ(history.memoryBytes(), cleared(6, 20'000).memoryBytes());
  history.clear();
  EXPECT_EQ(history.memoryBytes(), 0u);
}

}  // namespace
}  // namespace obrel
