#include "bench/bench_support.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

#include "document/entry_times.h"
#include "document/recovery_copy.h"
#include "testing/window_setup.h"

extern char** environ;

namespace obrel::bench {

namespace fs = std::filesystem;

Workspace::Workspace(srtgen::Flavour flavour, int entries) {
  std::ofstream(input(), std::ios::binary) << srtgen::generate(entries, flavour);
}

void DiskWindow::open(const std::string& path) {
  fake::openSrt(*this, path);
  prompts.shown.clear();
  dialogs.shown.clear();
}

EntryStore copyOfStore(const Form2& form) {
  std::optional<RecoveredDocument> copy =
      readRecoveryCopy(writeRecoveryCopy(form.document().store, form.recoveryFacts()));
  return std::move(copy.value().store);
}

double residentBytes() {
  std::ifstream statm("/proc/self/statm");
  double size = 0;
  double resident = 0;
  statm >> size >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE));
}

std::string executableFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : self.parent_path().string();
}

namespace {

// A program's argument and environment vectors as posix_spawn takes them; the extra
// variables come first, so they win over the inherited ones.
class SpawnLine {
 public:
  SpawnLine(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& extraEnvironment)
      : words_{program}, environment_(extraEnvironment) {
    words_.insert(words_.end(), args.begin(), args.end());
    for (char** e = environ; *e; ++e) environment_.emplace_back(*e);
    for (std::string& w : words_) argv_.push_back(w.data());
    argv_.push_back(nullptr);
    for (std::string& e : environment_) envp_.push_back(e.data());
    envp_.push_back(nullptr);
  }
  char* const* argv() { return argv_.data(); }
  char* const* envp() { return envp_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<std::string> environment_;
  std::vector<char*> argv_;
  std::vector<char*> envp_;
};

long long monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

ProcessTimes runProcess(const std::string& program, const std::vector<std::string>& args,
                        const std::vector<std::string>& extraEnvironment) {
  SpawnLine line(program, args, extraEnvironment);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  ProcessTimes times;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  const int failed =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, line.argv(), line.envp());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return times;
  struct rusage usage {};
  wait4(pid, &times.status, 0, &usage);
  times.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  times.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return times;
}

ProcessOutput runForOutput(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& extraEnvironment) {
  SpawnLine line(program, args, extraEnvironment);
  ProcessOutput output;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return output;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  output.spawnedNs = monotonicNs();
  pid_t pid = -1;
  const int failed =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, line.argv(), line.envp());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  char buffer[256];
  ssize_t n;
  while (failed == 0 && (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
    output.text.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeEnds[0]);
  if (failed != 0) return output;
  waitpid(pid, &output.status, 0);
  return output;
}

namespace {

double toSeconds(double value, benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond: return value / 1e9;
    case benchmark::kMicrosecond: return value / 1e6;
    case benchmark::kMillisecond: return value / 1e3;
    case benchmark::kSecond: return value;
  }
  return value;
}

std::string figureName(const benchmark::BenchmarkReporter::Run& run) {
  return run.run_name.args.empty() ? run.run_name.function_name
                                   : run.run_name.function_name + "/" + run.run_name.args;
}

// Seconds in the unit that reads best.
std::string shownTime(double seconds) {
  char text[32];
  if (seconds >= 1) {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
  }
  return text;
}

std::string shownValue(const std::string& measure, double value) {
  if (measure == "wall" || measure == "cpu") return shownTime(value);
  char text[32];
  std::snprintf(text, sizeof text, "%.2f %s", value, measure.c_str());
  return text;
}

// The console output as usual, and every median kept for the table.
class CheckingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    benchmark::ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) {
        failed_[figureName(run)] = run.error_message;
        continue;
      }
      // Medians of repeated runs; a single run stands for itself.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (!median && !single) continue;
      std::map<std::string, double>& m = medians_[figureName(run)];
      m["wall"] = toSeconds(run.GetAdjustedRealTime(), run.time_unit);
      m["cpu"] = toSeconds(run.GetAdjustedCPUTime(), run.time_unit);
      for (const auto& [name, counter] : run.counters) m[name] = counter.value;
    }
  }

  // Prints the table; returns whether every figure in it could be measured.
  bool printChecks(const std::vector<Check>& checks) const {
    bool allMet = true;
    std::ostringstream out;
    out << "\nFigures (medians), their reference and target\n";
    char line[512];
    std::snprintf(line, sizeof line, "%-40s %-14s %14s  %-42s %14s %6s  %-28s %s\n", "figure",
                  "measure", "value", "reference", "ref value", "ratio", "target", "verdict");
    out << line;
    for (const Check& c : checks) {
      const double* value = find(c.figure, c.measure);
      if (!value) {
        const auto failure = failed_.find(c.figure);
        out << c.figure << ": "
            << (failure != failed_.end() ? "failed: " + failure->second : "not run") << '\n';
        if (failure != failed_.end()) allMet = false;
        continue;
      }
      const double v = *value / c.perItem;
      const double* reference = c.reference.empty() ? nullptr : find(c.reference, c.measure);
      const double r = reference ? *reference : 0;
      std::string target;
      bool met = true;
      if (c.maxRatio > 0) {
        target += "ratio <= " + format(c.maxRatio) + " ";
        met = met && reference && v / r <= c.maxRatio;
      }
      if (c.maxValue > 0) {
        target += "<= " + shownValue(c.measure, c.maxValue) + " ";
        met = met && v <= c.maxValue;
      }
      if (c.maxOver > 0) {
        target += "ref + " + shownTime(c.maxOver) + " ";
        met = met && reference && v - r <= c.maxOver;
      }
      const bool unjudged = !reference && (c.maxRatio > 0 || c.maxOver > 0);
      const std::string verdict = target.empty() ? ""
                                  : unjudged     ? "no reference run"
                                  : met          ? "met"
                                                 : "MISSED";
      std::snprintf(line, sizeof line, "%-40s %-14s %14s  %-42s %14s %6s  %-28s %s\n",
                    c.figure.c_str(), c.measure.c_str(), shownValue(c.measure, v).c_str(),
                    c.reference.c_str(), reference ? shownValue(c.measure, r).c_str() : "",
                    reference && r > 0 ? format(v / r).c_str() : "", target.c_str(),
                    verdict.c_str());
      out << line;
    }
    std::cout << out.str() << std::flush;
    return allMet;
  }

 private:
  const double* find(const std::string& figure, const std::string& measure) const {
    const auto f = medians_.find(figure);
    if (f == medians_.end()) return nullptr;
    const auto m = f->second.find(measure);
    return m == f->second.end() ? nullptr : &m->second;
  }
  static std::string format(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", x);
    return text;
  }

  std::map<std::string, std::map<std::string, double>> medians_;
  std::map<std::string, std::string> failed_;
};

}  // namespace

int runWithChecks(int argc, char** argv, const std::vector<Check>& checks) {
  std::vector<char*> args(argv, argv + argc);
  bool repetitionsGiven = false;
  for (char* a : args)
    repetitionsGiven = repetitionsGiven || std::string(a).starts_with("--benchmark_repetitions");
  std::string repetitions = "--benchmark_repetitions=5";
  std::string aggregatesOnly = "--benchmark_report_aggregates_only=true";
  if (!repetitionsGiven) {
    args.push_back(repetitions.data());
    args.push_back(aggregatesOnly.data());
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  CheckingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // A missed target is for the reader of the table; only a benchmark that failed fails.
  return reporter.printChecks(checks) ? 0 : 1;
}

TimingCommand timingCommand(const EntryStore& store, int number) {
  const std::pair<int, int> ends = firstAndLastTimed(store).value_or(std::pair{1, 2});
  const std::int64_t first = timesAt(store, ends.first)->start;
  const std::int64_t last = timesAt(store, ends.second)->start;
  switch (number) {
    case 0: return ShiftTimes{1500, std::nullopt, ShiftReach::All, 1};
    case 1: return Synchronize{ends.first, ends.second, first + 1000, last + last / 1000};
    case 2: return ChangeFrameRate{*readFrameRate("25"), *readFrameRate("23.976")};
    default: return SetStartAndShift{1, timesAt(store, 1)->start + 700};
  }
}

}  // namespace obrel::bench
