// The timing tools and the player's index on a full store read from a generated file: each
// tool planned and applied with its Undo and Redo, the record one change keeps, and the
// lookup of the entries on screen with the rebuild of its index.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <vector>

#include "bench/bench_support.h"
#include "document/entry_times.h"
#include "document/timing_tools.h"
#include "preview/screen_index.h"

namespace obrel::bench {
namespace {

// The generated file of 9999 entries, as the main window loads it.
struct FullStore {
  Workspace work{srtgen::Flavour::Ascii};
  EntryStore store;

  FullStore() {
    DiskWindow window{work.programFolder()};
    window.open(work.input());
    store = copyOfStore(window.form);
  }
};

// The command (planned and applied), its Undo and its Redo; a second Undo, not timed,
// brings the store back for the next round.
void BM_TimingCommandUndoRedo(benchmark::State& state) {
  FullStore full;
  const TimingCommand command = timingCommand(full.store, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TimingOutcome outcome = planTiming(full.store, command);
    if (outcome.kind != TimingOutcome::Kind::Changed) {
      state.SkipWithError("the command changed nothing");
      break;
    }
    outcome.change.apply(full.store);
    outcome.change.revert(full.store);
    outcome.change.apply(full.store);
    state.PauseTiming();
    outcome.change.revert(full.store);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TimingCommandUndoRedo)
    ->ArgName("command")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond);

// The memory of one change of every entry: as the record counts it, and as heap in use.
void BM_TimingChangeMemory(benchmark::State& state) {
  FullStore full;
  double counted = 0, heap = 0;
  int touched = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const double heap0 = static_cast<double>(mallinfo2().uordblks);
    const TimingOutcome outcome = planTiming(full.store, timingCommand(full.store, 0));
    malloc_trim(0);
    heap = static_cast<double>(mallinfo2().uordblks) - heap0;
    counted = static_cast<double>(outcome.change.memoryBytes());
    touched = outcome.change.touched();
  }
  state.counters["step_KB"] = counted / 1000;
  state.counters["step_heap_KB"] = heap / 1000;
  state.counters["entries"] = touched;
}
BENCHMARK(BM_TimingChangeMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Positions spread over the whole file, visited in a scattered order.
std::vector<std::int64_t> positionsOver(const EntryStore& store) {
  const std::int64_t span = timesAt(store, kLastEntry)->end + 1000;
  std::vector<std::int64_t> positions;
  for (std::int64_t i = 0; i < 4096; ++i) positions.push_back(i * 2654435761 % span);
  return positions;
}

void BM_ScreenIndexLookup(benchmark::State& state) {
  FullStore full;
  ScreenIndex index;
  index.refresh(full.store);
  const std::vector<std::int64_t> positions = positionsOver(full.store);
  if (index.at(timesAt(full.store, 5000)->start) != std::vector<int>{5000}) {
    state.SkipWithError("entry 5000 is not on screen at its start");
  }
  std::vector<int> slots;
  std::size_t next = 0;
  for (auto _ : state) index.at(positions[next++ % positions.size()], slots);
}
BENCHMARK(BM_ScreenIndexLookup)->Unit(benchmark::kMicrosecond);

// The same with one entry lasting the whole file over all the others.
void BM_ScreenIndexLookupLongEntry(benchmark::State& state) {
  FullStore full;
  Entry& first = full.store.edit(1);
  writeTimes(first, 0, timesAt(full.store, kLastEntry)->end, readTimes(first)->tailAt);
  ScreenIndex index;
  index.refresh(full.store);
  if (index.at(timesAt(full.store, 5000)->start) != std::vector<int>{1, 5000}) {
    state.SkipWithError("entries 1 and 5000 are not on screen at the start of 5000");
  }
  const std::vector<std::int64_t> positions = positionsOver(full.store);
  std::vector<int> slots;
  std::size_t next = 0;
  for (auto _ : state) index.at(positions[next++ % positions.size()], slots);
}
BENCHMARK(BM_ScreenIndexLookupLongEntry)->Unit(benchmark::kMicrosecond);

void BM_ScreenIndexRebuild(benchmark::State& state) {
  FullStore full;
  ScreenIndex index;
  for (auto _ : state) index.rebuild(full.store);
  if (index.size() != static_cast<std::size_t>(kLastEntry)) {
    state.SkipWithError("not every entry is in the index");
  }
}
BENCHMARK(BM_ScreenIndexRebuild)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
