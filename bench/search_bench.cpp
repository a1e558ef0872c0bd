// Find and Replace over a full store: a generated file of 9999 entries, opened through the
// main window, with a name added to every entry.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "document/store_search.h"

namespace obrel::bench {
namespace {

struct NamedStore {
  Workspace work{srtgen::Flavour::Utf8};
  EntryStore store;

  NamedStore() {
    DiskWindow w{work.programFolder()};
    w.open(work.input());
    store = copyOfStore(w.form);
    for (int k = 1; k <= kLastEntry; ++k) store.edit(k).EntryText += " Marcus";
  }
};

// Replace All of a name in every entry, with the record of what it changed (taken back
// outside the timing).
void BM_ReplaceAllEveryEntry(benchmark::State& state) {
  NamedStore s;
  double recordBytes = 0;
  for (auto _ : state) {
    const ReplaceAllResult result = replaceAll(s.store, SearchQuery("marcus", {}), "Markus");
    state.PauseTiming();
    if (result.replacements != static_cast<std::size_t>(kLastEntry)) {
      state.SkipWithError("not every entry was changed");
    }
    recordBytes = static_cast<double>(result.changes.memoryBytes());
    result.changes.revert(s.store);
    state.ResumeTiming();
  }
  state.counters["record_MB"] = recordBytes / 1e6;
}
BENCHMARK(BM_ReplaceAllEveryEntry)->Unit(benchmark::kMillisecond);

// Find Next through the whole store, round to where it started, finding nothing; the search
// compiled each time as the window compiles it.
void BM_FindNextNoMatch(benchmark::State& state) {
  NamedStore s;
  const SearchOptions options{.wholeWords = state.range(0) != 0};
  for (auto _ : state) {
    const SearchQuery query("Marcos", options);
    if (findNext(s.store, query, {1, 0})) state.SkipWithError("found what is not there");
  }
}
BENCHMARK(BM_FindNextNoMatch)
    ->ArgName("whole_words")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
