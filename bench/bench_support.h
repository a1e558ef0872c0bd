#pragma once
// What the benchmark programs share: a generated file in a temporary folder, the main
// window on the real disk, memory and process measurements, and a main() that ends with
// a table of every figure against its reference and target.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/timing_tools.h"
#include "testing/temp_folder.h"
#include "testing/test_window.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel::bench {

// A program folder (with Support/) and a generated subtitle file in a temporary folder,
// removed afterwards.
class Workspace {
 public:
  explicit Workspace(srtgen::Flavour flavour, int entries = 9999);
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  std::string input() const { return (folder_ / "in.srt").string(); }
  std::string output() const { return (folder_ / "out.srt").string(); }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string programFolder() const { return folder_.string(); }

 private:
  fake::TempFolder folder{"obrel-bench"};
  const std::filesystem::path& folder_ = folder.path();
};

// The main window on the real disk, loaded, with dialogs that answer from queues.
struct DiskWindow : fake::DiskWindow {
  using fake::DiskWindow::DiskWindow;
  // File > Open > Subtitle File (.srt) of path, answering No to the save prompt; the boxes
  // and dialogs shown are forgotten.
  void open(const std::string& path);
};

// The main window's store as a store of the benchmark's own, for whole-store operations run
// outside the window: copied through a recovery copy, which keeps every value.
EntryStore copyOfStore(const Form2& form);

// One command of each timing tool over the whole store, by its number (0 to 3), as a user
// would give it to a whole film: a shift, a synchronisation on the first and last entries, 25
// to 23.976 frames a second, entry 1 started 0.7 s later with the rest.
TimingCommand timingCommand(const EntryStore& store, int number);

// Resident memory of this process, in bytes (/proc/self/statm).
double residentBytes();

// The folder that holds the running executable, where the other programs are built.
std::string executableFolder();

// A finished child process: wall time from spawn to exit, and its CPU time (user + system).
struct ProcessTimes {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  int status = -1;  // as waitpid gives it
};
// Runs program with args, its output to /dev/null, and waits for it.
ProcessTimes runProcess(const std::string& program, const std::vector<std::string>& args,
                        const std::vector<std::string>& extraEnvironment = {});

// A finished child process's standard output, and the monotonic clock (CLOCK_MONOTONIC, in
// nanoseconds) just before it was spawned, on which the program's probes print their times.
struct ProcessOutput {
  std::string text;
  long long spawnedNs = 0;
  int status = -1;  // as waitpid gives it; -1 when it could not be started
};
// Runs program with args, its standard error to /dev/null, and waits for it.
ProcessOutput runForOutput(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& extraEnvironment = {});

// One row of the closing table: a figure, what it is measured against, and its target.
struct Check {
  std::string figure{};     // a benchmark's name and arguments, e.g. "BM_Open9999/flavour:0"
  std::string measure{};    // "wall", "cpu", or the name of a counter
  std::string reference{};  // a benchmark to divide by (same measure); empty for none
  double perItem = 1;       // the figure is divided by this (e.g. 10000 navigations)
  double maxRatio = 0;      // target: figure / reference at most this (0: none)
  double maxValue = 0;      // target: figure at most this, in seconds or counter units (0: none)
  double maxOver = 0;       // target: figure - reference at most this, in seconds (0: none)
};

// Runs the benchmarks as benchmark's own main would (5 repetitions, medians only, unless
// the command line says otherwise), then prints the table of checks from the medians.
int runWithChecks(int argc, char** argv, const std::vector<Check>& checks);

}  // namespace obrel::bench
