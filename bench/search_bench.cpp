// Find and Replace over a full store, as the main window runs its commands: a generated file
// of 9999 entries, opened through the main window, with a name added to every entry.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "testing/window_setup.h"

namespace obrel::bench {
namespace {

struct NamedWindow {
  Workspace work{srtgen::Flavour::Utf8};
  DiskWindow w{work.programFolder()};

  explicit NamedWindow(FindRequest request) {
    w.open(work.input());
    EntryStore store = copyOfStore(w.form);
    for (int k = 1; k <= kLastEntry; ++k) store.edit(k).EntryText += " Marcus";
    fake::takeDocument(w.form, std::move(store));
    w.form.setFindRequest(std::move(request));
  }
};

// Replace All of a name in every entry: the replacements, the Undo step that records them and
// the entry shown again (the step is taken back outside the timing).
void BM_ReplaceAllCommand(benchmark::State& state) {
  NamedWindow s({"marcus", "Markus", {}});
  for (auto _ : state) {
    s.w.form.ReplaceAll();
    state.PauseTiming();
    if (s.w.form.Undo.caption() != "Undo Replace All") state.SkipWithError("no step was taken");
    s.w.form.Undo_Click();
    s.w.prompts.shown.clear();
    state.ResumeTiming();
  }
  state.counters["history_MB"] =
      static_cast<double>(s.w.form.document().history.memoryBytes()) / 1e6;
}
BENCHMARK(BM_ReplaceAllCommand)->Unit(benchmark::kMillisecond);

// Find Next through the whole store, round to where it started, finding nothing: the search
// compiled, run from the caret and the message shown, as the window's button does it.
void BM_FindNextCommand(benchmark::State& state) {
  NamedWindow s({"Marcos", "", {.wholeWords = state.range(0) != 0}});
  for (auto _ : state) {
    s.w.form.FindNext();
    if (s.w.prompts.shown.size() > 1000) s.w.prompts.shown.clear();
  }
  if (s.w.prompts.shown.empty()) state.SkipWithError("found what is not there");
}
BENCHMARK(BM_FindNextCommand)
    ->ArgName("whole_words")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
