// Opening the large and hostile files that open_srt_test.cpp checks, 200 MB each, through the
// main window on the real disk: the reading those tests check without a clock. Each opens, or
// is refused, within 5 s.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "bench/bench_support.h"
#include "testing/large_files.h"

namespace obrel::bench {
namespace {

constexpr std::size_t kSize = std::size_t{200} << 20;

// Whether the window takes the file (true) or refuses it.
bool opens(fake::LargeFile kind) {
  return kind == fake::LargeFile::EndlessEntryText || kind == fake::LargeFile::ManyEntries ||
         kind == fake::LargeFile::Utf16OddBytes;
}

void BM_OpenLargeFile(benchmark::State& state) {
  const auto kind = static_cast<fake::LargeFile>(state.range(0));
  state.SetLabel(fake::largeFileName(kind));
  Workspace work(srtgen::Flavour::Ascii, 1);
  const std::string path = work.path("large.srt");
  if (!fake::writeLargeFile(path, kind, kSize)) {
    state.SkipWithError("the file could not be written");
    return;
  }
  DiskWindow w(work.programFolder());
  for (auto _ : state) {
    w.open(path);
    if ((w.form.document().CurrentFile == path) != opens(kind)) {
      state.SkipWithError(opens(kind) ? "the file was refused" : "the file was taken");
      break;
    }
  }
}
BENCHMARK(BM_OpenLargeFile)
    ->DenseRange(0, 5)
    ->ArgName("kind")
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
