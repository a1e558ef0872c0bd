// Opening and saving whole files through the main window's full path (decoding, the index
// box and the nine fields for every entry, the store, the disk), each beside the minimal
// reference doing the same job in plain C++ in the same run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>

#include "bench/bench_support.h"
#include "bench/reference.h"
#include "document/file_limits.h"
#include "document/recovery_copy.h"
#include "editor/recovery_keeper.h"
#include "platform/recovery_folder.h"
#include "testing/temp_folder.h"

namespace obrel::bench {
namespace {

srtgen::Flavour flavourOf(const benchmark::State& state) {
  return static_cast<srtgen::Flavour>(state.range(0));
}
int entriesOf(const benchmark::State& state) { return static_cast<int>(state.range(1)); }

// File > Save As... to path: the document's file from then on.
void saveAs(DiskWindow& w, const std::string& path) {
  w.dialogs.choices.push_back(path);
  w.form.SaveAs_Click();
  w.dialogs.shown.clear();
}

// Every flavour at 9999 entries, and the largest flavour at 1000.
void fileSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"flavour", "entries"});
  for (int flavour = 0; flavour < 3; ++flavour) b->Args({flavour, 9999});
  b->Args({2, 1000});
  b->Unit(benchmark::kMillisecond);
}

void BM_RefReadSplit(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  for (auto _ : state) {
    auto entries = reference::readAndSplit(work.input());
    if (static_cast<int>(entries.size()) != entriesOf(state)) state.SkipWithError("split wrong");
    benchmark::DoNotOptimize(entries);
  }
}
BENCHMARK(BM_RefReadSplit)->Apply(fileSizes);

void BM_RefWrite(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  const auto entries = reference::readAndSplit(work.input());
  for (auto _ : state) reference::writeBack(entries, work.output());
}
BENCHMARK(BM_RefWrite)->Apply(fileSizes);

void BM_RefWriteDurable(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  const auto entries = reference::readAndSplit(work.input());
  for (auto _ : state) reference::writeBackDurably(entries, work.output());
}
BENCHMARK(BM_RefWriteDurable)->Apply(fileSizes);

void BM_RefRoundTrip(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  auto entries = reference::readAndSplit(work.input());
  for (auto _ : state) {
    reference::writeBack(entries, work.output());
    entries = reference::readAndSplit(work.output());
  }
}
BENCHMARK(BM_RefRoundTrip)->Apply(fileSizes);

void BM_Open(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  DiskWindow w(work.programFolder());
  for (auto _ : state) {
    w.open(work.input());
    if (w.form.CurrentIndex != entriesOf(state)) state.SkipWithError("the file did not load whole");
  }
}
BENCHMARK(BM_Open)->Apply(fileSizes);

void BM_Save(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  DiskWindow w(work.programFolder());
  w.open(work.input());
  saveAs(w, work.output());
  for (auto _ : state) {
    w.form.Save_Click();
    if (!w.form.saveSucceeded) state.SkipWithError("the file was not saved");
  }
}
BENCHMARK(BM_Save)->Apply(fileSizes);

// The recovery copy of the same store as BM_Save writes: the dump built, as the window
// builds it on its thread, then written and synced as the worker writes it.
void BM_RecoveryCopy(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  DiskWindow w(work.programFolder());
  w.open(work.input());
  const EntryStore& store = w.form.document().store;
  const int last = entriesOf(state);
  const std::optional<RecoveredDocument> back =
      readRecoveryCopy(writeRecoveryCopy(store, w.form.recoveryFacts()));
  if (!back || back->store.at(last) != store.at(last)) {
    state.SkipWithError("the copy does not hold the store");
  }
  RecoveryFolder folder(work.path("recovery"), kLargestRecoveryCopy);
  for (auto _ : state) folder.write(writeRecoveryCopy(store, w.form.recoveryFacts()));
  folder.remove();
  // The dump holds every value of a slot, the SRT file its text and timing line.
  const double copyBytes = writeRecoveryCopy(store, w.form.recoveryFacts()).size();
  state.counters["copy_per_srt"] = copyBytes / std::filesystem::file_size(work.input());
}
BENCHMARK(BM_RecoveryCopy)->Apply(fileSizes);

// The dump alone: what the window's own thread spends on the copy after a change.
void BM_RecoveryCopyBuild(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  DiskWindow w(work.programFolder());
  w.open(work.input());
  for (auto _ : state) {
    benchmark::DoNotOptimize(writeRecoveryCopy(w.form.document().store, w.form.recoveryFacts()));
  }
}
BENCHMARK(BM_RecoveryCopyBuild)->Apply(fileSizes);

// A start that finds copies left by many programs that were killed: the folder tidied, the
// newest found by the time each copy records, then read whole and offered. Yes takes it
// without changing the folder, so every start finds the same.
void BM_StartWithAbandonedCopies(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Ascii, 10);
  const std::string folderPath = work.path("state/obrel-dizivud/recovery");
  std::filesystem::create_directories(folderPath);
  const int copies = static_cast<int>(state.range(0));
  for (int i = 0; i < copies; ++i) {
    EntryStore store;
    store.edit(1).EntryText = "copy " + std::to_string(i);
    DocumentFacts facts;
    facts.writtenAt = 1700000000 + i;
    fake::writeFile(folderPath + '/' + std::to_string(i + 100) + "-1-1.copy",
                    writeRecoveryCopy(store, facts));
  }
  const std::string newest = "copy " + std::to_string(copies - 1);
  for (auto _ : state) {
    fake::TestWindow w;
    RecoveryFolder folder(folderPath, kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, [](const std::function<void()>& job) { job(); });
    w.prompts.answers.push_back(Answer::Yes);
    keeper.offer(w.form, w.prompts);
    if (w.form.document().store.at(1).EntryText != newest) {
      state.SkipWithError("not the newest copy");
    }
  }
}
BENCHMARK(BM_StartWithAbandonedCopies)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveThenOpen(benchmark::State& state) {
  Workspace work(flavourOf(state), entriesOf(state));
  DiskWindow w(work.programFolder());
  w.open(work.input());
  saveAs(w, work.output());  // each round saves the file it opened the round before
  for (auto _ : state) {
    w.form.Save_Click();
    w.open(work.output());
    if (w.form.CurrentIndex != entriesOf(state)) state.SkipWithError("the file did not load whole");
  }
}
BENCHMARK(BM_SaveThenOpen)->Apply(fileSizes);

void BM_NewWithFullStore(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Ascii);
  DiskWindow w(work.programFolder());
  for (auto _ : state) {
    state.PauseTiming();
    w.open(work.input());
    w.prompts.answers.push_back(Answer::No);
    state.ResumeTiming();
    w.form.New_Click();
  }
}
BENCHMARK(BM_NewWithFullStore)->Unit(benchmark::kMillisecond);

// What the document costs in memory: the window with its empty store, and what loading
// 9999 entries adds, both as heap in use and as resident memory.
void BM_StoreMemory(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Utf8);
  double windowHeap = 0, loadedHeap = 0, loadedResident = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const double heap0 = static_cast<double>(mallinfo2().uordblks);
    DiskWindow w(work.programFolder());
    malloc_trim(0);
    const double heap1 = static_cast<double>(mallinfo2().uordblks);
    const double resident1 = residentBytes();
    w.open(work.input());
    malloc_trim(0);
    const double heap2 = static_cast<double>(mallinfo2().uordblks);
    const double resident2 = residentBytes();
    windowHeap = (heap1 - heap0) / 1e6;
    loadedHeap = (heap2 - heap1) / 1e6;
    loadedResident = (resident2 - resident1) / 1e6;
  }
  state.counters["window_heap_MB"] = windowHeap;
  state.counters["loaded_heap_MB"] = loadedHeap;
  state.counters["loaded_rss_MB"] = loadedResident;
}
BENCHMARK(BM_StoreMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
