// The Edit commands, the timing tools, the commit and navigation on a full store, driven
// through their handlers with stand-ins for the dialogs. Insert and Delete walk the whole store
// on every call.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "document/entry_times.h"
#include "document/timing_tools.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"

namespace obrel {
namespace {

std::string twoDigits(int n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// The main window, loaded, over stand-ins; slots 0 to 9999 filled, slot 10000 free as
// Insert needs it.
struct Window {
  fake::TestWindow window;
  Form2& form = window.form;

  Window() {
    // Every input box answers 1, every question Yes.
    window.prompts.standingReply.emplace("1");
    window.prompts.standingAnswer = Answer::Yes;
    EntryStore store;
    for (int k = 0; k < EntryStore::kLast; ++k) {
      Entry& e = store.edit(k);
      e.StartHours = "00";
      // Two digits, as every entry the program reads or stores is widened.
      e.StartMinutes = twoDigits(k / 60 % 60);
      e.StartSeconds = twoDigits(k % 60);
      e.StartMillis = "000";
      e.EndHours = "00";
      e.EndMinutes = e.StartMinutes;
      e.EndSeconds = e.StartSeconds;
      e.EndMillis = "500";
      e.EntryTiming = timingLine(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                                 e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
      e.EntryText = "Subtitle line number " + std::to_string(k) + "\r\nand its second line";
    }
    fake::takeDocument(form, std::move(store));
  }

  // Entry 1, left empty by an Insert at 1, stored again for Delete, which looks for a timed
  // entry; the benchmarks take it out of their timing.
  void timeEntry1() { fake::commitEntry(form, 1, "Entry 1"); }
};

// Insert at 1 shifts entries 1..9999 up; Delete of 1 shifts them back down, leaving the
// store as it was for the next round.
void BM_InsertAndDeleteFirst(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.form.InsertNewEntry_Click();
    state.PauseTiming();
    w.timeEntry1();
    state.ResumeTiming();
    w.form.DeleteEntry_Click();
    w.window.prompts.asked.clear();  // the record would grow with every round
  }
  if (!w.form.document().store.at(EntryStore::kLast).empty() ||
      w.form.document().store.at(1).EntryText.empty()) {
    state.SkipWithError("the store did not come back to its start");
  }
}
BENCHMARK(BM_InsertAndDeleteFirst)->Unit(benchmark::kMillisecond);

// One "OK" with Entry Check on, so both time checks run.
void BM_Commit(benchmark::State& state) {
  Window w;
  w.form.EntryCheck.setChecked(true);
  w.form.Text10.setText("2");
  for (auto _ : state) w.form.Command3_Click();
  if (w.form.document().store.at(2).EntryTiming != "00:00:02,000 --> 00:00:02,500") {
    state.SkipWithError("the commit did not store the entry");
  }
}
BENCHMARK(BM_Commit)->Unit(benchmark::kMicrosecond);

// 10,000 presses of ">" through a full store; at entry 9999, where ">" stops, the index
// box is set back to 1, as a user would type it.
void BM_Navigate10000(benchmark::State& state) {
  Window w;
  w.form.setIndexBox("1");
  for (auto _ : state) {
    for (int n = 0; n < 10000; ++n) {
      if (w.form.CurrentIndex == 9999) {
        w.form.setIndexBox("1");
      } else {
        w.form.Command2_Click();
      }
    }
  }
  if (w.form.Text9.text() != w.form.document().store.at(w.form.CurrentIndex).EntryText) {
    state.SkipWithError("the fields do not show the entry");
  }
}
BENCHMARK(BM_Navigate10000)->Unit(benchmark::kMillisecond);

// Undo and Redo of an Insert at 1 on a full store, one pair per round: each walks the store
// once, as Insert and Delete do, without their input boxes.
void BM_UndoRedoInsertFirst(benchmark::State& state) {
  Window w;
  w.form.InsertNewEntry_Click();
  for (auto _ : state) {
    w.form.Undo_Click();
    w.form.Redo_Click();
  }
  if (!w.form.document().store.at(1).empty() || w.form.document().store.at(2).EntryText.empty() ||
      w.form.Undo.caption() != "Undo Insert") {
    state.SkipWithError("Redo did not leave the store as the Insert did");
  }
}
BENCHMARK(BM_UndoRedoInsertFirst)->Unit(benchmark::kMillisecond);

// What the history costs: 1000 Undo/Redo pairs after an Insert at 1 on a full store, and a
// history filled with its 1000 steps (Insert at 1, a commit of entry 1 and its Delete in
// turn), as heap in use and resident memory added.
void BM_UndoMemory(benchmark::State& state) {
  double pairsHeap = 0, pairsResident = 0, fullHeap = 0;
  for (auto _ : state) {
    Window w;
    w.form.InsertNewEntry_Click();
    malloc_trim(0);
    const double heap0 = static_cast<double>(mallinfo2().uordblks);
    const double resident0 = bench::residentBytes();
    for (int i = 0; i < 1000; ++i) {
      w.form.Undo_Click();
      w.form.Redo_Click();
    }
    malloc_trim(0);
    pairsHeap = (static_cast<double>(mallinfo2().uordblks) - heap0) / 1e6;
    pairsResident = (bench::residentBytes() - resident0) / 1e6;

    w.form.Undo_Click();
    w.window.prompts.asked.clear();
    malloc_trim(0);
    const double heap1 = static_cast<double>(mallinfo2().uordblks);
    for (int i = 0; i < 500; ++i) {
      w.form.InsertNewEntry_Click();
      w.timeEntry1();
      w.form.DeleteEntry_Click();
    }
    w.window.prompts.asked.clear();
    malloc_trim(0);
    fullHeap = (static_cast<double>(mallinfo2().uordblks) - heap1) / 1e6;
  }
  state.counters["pairs_heap_MB"] = pairsHeap;
  state.counters["pairs_rss_MB"] = pairsResident;
  state.counters["history_1000_heap_MB"] = fullHeap;
}
BENCHMARK(BM_UndoMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// A timing tool through the main window (planned, applied, recorded, the entry shown), its
// Undo and its Redo; a second Undo, not timed, brings the store back for the next round.
void BM_TimingToolUndoRedo(benchmark::State& state) {
  Window w;
  w.form.setIndexBox("1");
  const TimingCommand command =
      bench::timingCommand(w.form.document().store, static_cast<int>(state.range(0)));
  if (planTiming(w.form.document().store, command).kind != TimingOutcome::Kind::Changed) {
    state.SkipWithError("the command changes nothing");
    return;
  }
  const std::string before = w.form.document().store.at(2).EntryTiming;
  for (auto _ : state) {
    w.form.applyTiming(command);
    w.form.Undo_Click();
    w.form.Redo_Click();
    state.PauseTiming();
    w.form.Undo_Click();
    state.ResumeTiming();
  }
  if (w.form.document().store.at(2).EntryTiming != before || w.form.Redo.caption() == "Redo") {
    state.SkipWithError("Undo did not bring the store back");
  }
}
BENCHMARK(BM_TimingToolUndoRedo)
    ->ArgName("command")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond);

// The memory one full-store timing step holds: as the history counts it, and as heap in use
// after the command.
void BM_TimingStepMemory(benchmark::State& state) {
  double counted = 0, heap = 0;
  for (auto _ : state) {
    Window w;
    w.form.setIndexBox("1");
    malloc_trim(0);
    const double heap0 = static_cast<double>(mallinfo2().uordblks);
    w.form.applyTiming(ShiftTimes{1500, std::nullopt, ShiftReach::All, 1});
    malloc_trim(0);
    heap = static_cast<double>(mallinfo2().uordblks) - heap0;
    counted = static_cast<double>(w.form.document().history.memoryBytes());
  }
  state.counters["step_KB"] = counted / 1000;
  state.counters["step_heap_KB"] = heap / 1000;
}
BENCHMARK(BM_TimingStepMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel
