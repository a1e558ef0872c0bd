// Whole processes: obrel-drive opening the 9999-entry file and saving it under another
// name, beside the reference program doing the same copy, each timed from spawn to exit.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <fstream>

#include "bench/bench_support.h"

namespace obrel::bench {
namespace {

// Times one program per iteration: wall time as the benchmark's time, the child's CPU time
// as the counter child_cpu_ms.
void timeProcess(benchmark::State& state, const std::string& program,
                 const std::vector<std::string>& args) {
  double cpuMs = 0;
  for (auto _ : state) {
    const ProcessTimes t = runProcess(program, args);
    if (!WIFEXITED(t.status) || WEXITSTATUS(t.status) != 0) {
      state.SkipWithError((program + " failed").c_str());
      break;
    }
    state.SetIterationTime(t.wallSeconds);
    cpuMs += t.cpuSeconds * 1e3;
  }
  state.counters["child_cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}

void BM_ProcessDriveOpenSave(benchmark::State& state) {
  Workspace work(static_cast<srtgen::Flavour>(state.range(0)));
  const std::string script = work.path("copy.drive");
  std::ofstream(script) << "choose \"" << work.input() << "\"\nmenu OpenSrt\nchoose \""
                        << work.output() << "\"\nmenu SaveAs\n";
  timeProcess(state, executableFolder() + "/obrel-drive",
              {"--folder", work.programFolder(), script});
}
BENCHMARK(BM_ProcessDriveOpenSave)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProcessReference(benchmark::State& state) {
  Workspace work(static_cast<srtgen::Flavour>(state.range(0)));
  timeProcess(state, executableFolder() + "/obrel-ref-copy", {work.input(), work.output()});
}
BENCHMARK(BM_ProcessReference)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProcessReferenceDurable(benchmark::State& state) {
  Workspace work(static_cast<srtgen::Flavour>(state.range(0)));
  timeProcess(state, executableFolder() + "/obrel-ref-copy",
              {"--durable", work.input(), work.output()});
}
BENCHMARK(BM_ProcessReferenceDurable)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrel::bench
