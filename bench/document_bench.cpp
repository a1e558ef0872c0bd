// Opening and saving a 9999-entry file through the main window's whole path: decoding,
// the index box and the nine fields for every entry, the store, and the disk.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/unit/stand_ins.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;

// A program folder and a subtitle file in a temporary folder, removed afterwards.
class Workspace {
 public:
  explicit Workspace(srtgen::Flavour flavour) {
    char pattern[] = "/tmp/obrel-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    fs::create_directories(folder_ / "Support");
    std::ofstream(input(), std::ios::binary) << srtgen::generate(9999, flavour);
  }
  ~Workspace() { fs::remove_all(folder_); }
  std::string input() const { return (folder_ / "in.srt").string(); }
  std::string output() const { return (folder_ / "out.srt").string(); }
  std::string programFolder() const { return folder_.string(); }

 private:
  fs::path folder_;
};

// A main window on the real disk, with dialogs that answer from queues.
struct DiskWindow {
  explicit DiskWindow(const std::string& programFolder)
      : form(Services{prompts, dialogs, player, browser, files, programFolder}, shell) {
    form.Form_Load();
  }
  void open(const std::string& path) {
    prompts.answers.push_back(Answer::No);
    dialogs.paths.push_back(path);
    form.OpenSrt_Click();
  }
  standin::RecordingPrompts prompts;
  standin::QueuedDialogs dialogs;
  standin::NoPlayer player;
  standin::NoBrowser browser;
  RealFileSystem files;
  standin::NoShell shell;
  Form2 form;
};

void BM_Open9999(benchmark::State& state) {
  Workspace work(static_cast<srtgen::Flavour>(state.range(0)));
  DiskWindow w(work.programFolder());
  for (auto _ : state) {
    w.open(work.input());
    if (w.form.CurrentIndex != 9999) state.SkipWithError("the file did not load whole");
  }
}
BENCHMARK(BM_Open9999)->Arg(0)->Arg(1)->Arg(2)->ArgName("flavour")->Unit(benchmark::kMillisecond);

void BM_Save9999(benchmark::State& state) {
  Workspace work(static_cast<srtgen::Flavour>(state.range(0)));
  DiskWindow w(work.programFolder());
  w.open(work.input());
  w.form.CurrentFile = work.output();
  for (auto _ : state) {
    w.form.Save_Click();
    if (!w.form.SaveSucceeded) state.SkipWithError("the file was not saved");
  }
}
BENCHMARK(BM_Save9999)->Arg(0)->Arg(1)->Arg(2)->ArgName("flavour")->Unit(benchmark::kMillisecond);

void BM_SaveThenOpen9999(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Utf8);
  DiskWindow w(work.programFolder());
  w.open(work.input());
  for (auto _ : state) {
    w.form.CurrentFile = work.output();
    w.form.Save_Click();
    w.open(work.output());
  }
}
BENCHMARK(BM_SaveThenOpen9999)->Unit(benchmark::kMillisecond);

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

}  // namespace
}  // namespace obrel
