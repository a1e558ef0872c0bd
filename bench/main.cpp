// obrel_bench: the logic's benchmarks, then every figure against its reference and target.
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "testing/temp_folder.h"

int main(int argc, char** argv) {
  // Recovery copies and backups of the programs measured stay in the run's own folders.
  const obrel::fake::TempFolder state("obrel-bench-state");
  setenv("XDG_STATE_HOME", state.path().c_str(), 1);
  setenv("XDG_CACHE_HOME", (state.path() / "cache").c_str(), 1);
  using obrel::bench::Check;
  std::vector<Check> checks;
  for (const std::string f : {"0", "1", "2"}) {
    const std::string file = "/flavour:" + f + "/entries:9999";
    checks.push_back({"BM_Open" + file, "wall", "BM_RefReadSplit" + file, 1, 3, 25e-3});
    checks.push_back({"BM_Open" + file, "cpu", "BM_RefReadSplit" + file, 1, 3, 25e-3});
  }
  checks.push_back(
      {"BM_Open/flavour:2/entries:1000", "wall", "BM_RefReadSplit/flavour:2/entries:1000"});
  for (const std::string f : {"0", "1", "2"}) {
    const std::string file = "/flavour:" + f + "/entries:9999";
    // The save syncs the file and its folder: it is set against the reference written the
    // same durable way, and also against the plain reference write.
    checks.push_back({"BM_Save" + file, "wall", "BM_RefWriteDurable" + file, 1, 2, 10e-3});
    checks.push_back({"BM_Save" + file, "cpu", "BM_RefWriteDurable" + file, 1, 2, 10e-3});
    checks.push_back({"BM_Save" + file, "cpu", "BM_RefWrite" + file, 1, 2});
    checks.push_back({"BM_Save" + file, "wall", "BM_RefWrite" + file});
  }
  checks.push_back({"BM_Save/flavour:2/entries:1000", "cpu", "BM_RefWrite/flavour:2/entries:1000"});
  // The recovery copy of a full store is written and synced like a save, on the worker
  // thread, from a dump about 1.3 times the file's size: set against the save, without a
  // target (the syncs make the wall time swing by a factor of two between runs). The dump is
  // built on the window's thread, where it must stay well inside a frame.
  for (const std::string f : {"0", "1", "2"}) {
    const std::string file = "/flavour:" + f + "/entries:9999";
    checks.push_back({"BM_RecoveryCopy" + file, "wall", "BM_Save" + file});
    checks.push_back({"BM_RecoveryCopy" + file, "cpu", "BM_Save" + file});
    checks.push_back({"BM_RecoveryCopyBuild" + file, "wall", "BM_Save" + file, 1, 0, 10e-3});
  }
  checks.push_back({"BM_RecoveryCopy/flavour:2/entries:9999", "copy_per_srt"});
  for (const std::string f : {"0", "1", "2"}) {
    const std::string file = "/flavour:" + f + "/entries:9999";
    checks.push_back({"BM_SaveThenOpen" + file, "wall", "BM_RefRoundTrip" + file});
    checks.push_back({"BM_SaveThenOpen" + file, "cpu", "BM_RefRoundTrip" + file});
  }
  // Large and hostile files of 200 MB, each opened or refused within 5 s.
  for (const std::string kind : {"0", "1", "2", "3", "4", "5"}) {
    checks.push_back({"BM_OpenLargeFile/kind:" + kind, "wall", "", 1, 0, 5});
  }
  // A start that finds 10,000 copies left by killed programs reads only the time each copy
  // records, and the newest whole.
  checks.push_back({"BM_StartWithAbandonedCopies/10000", "wall", "", 1, 0, 0.5});
  const std::string read = "BM_RefReadSplit/flavour:0/entries:9999";
  checks.push_back({"BM_NewWithFullStore", "wall", read, 1, 0, 3e-3});
  checks.push_back({"BM_InsertAndDeleteFirst", "wall", read, 1, 0, 5e-3});
  // An Undo and a Redo together within an Insert and a Delete together.
  checks.push_back({"BM_UndoRedoInsertFirst", "wall", "BM_InsertAndDeleteFirst", 1, 1});
  checks.push_back({"BM_UndoMemory", "pairs_heap_MB", "", 1, 0, 1});
  checks.push_back({"BM_UndoMemory", "pairs_rss_MB", "", 1, 0, 5});
  checks.push_back({"BM_UndoMemory", "history_1000_heap_MB", "", 1, 0, 5});
  checks.push_back({"BM_Commit", "wall", read, 1, 0, 20e-6});
  checks.push_back({"BM_Navigate10000", "wall", read, 10000, 0, 20e-6});
  // Each timing tool with its Undo and Redo, the record of one full-store change, and the
  // player's lookup of the entries on screen with the rebuild of its index.
  for (const std::string c : {"0", "1", "2", "3"}) {
    checks.push_back({"BM_TimingCommandUndoRedo/command:" + c, "wall", "", 1, 0, 10e-3});
    // The same through the main window's commands, Undo and Redo.
    checks.push_back({"BM_TimingToolUndoRedo/command:" + c, "wall", "", 1, 0, 10e-3});
  }
  checks.push_back({"BM_TimingChangeMemory", "step_KB", "", 1, 0, 100});
  checks.push_back({"BM_TimingStepMemory", "step_KB", "", 1, 0, 100});
  checks.push_back({"BM_ScreenIndexLookup", "wall", "", 1, 0, 10e-6});
  checks.push_back({"BM_ScreenIndexLookupLongEntry", "wall", "", 1, 0, 10e-6});
  checks.push_back({"BM_ScreenIndexRebuild", "wall", "", 1, 0, 5e-3});
  checks.push_back({"BM_StoreMemory", "window_heap_MB"});
  checks.push_back({"BM_StoreMemory", "loaded_heap_MB", "", 1, 0, 5});
  checks.push_back({"BM_StoreMemory", "loaded_rss_MB", "", 1, 0, 5});
  for (const std::string f : {"0", "2"}) {
    const std::string arg = "/flavour:" + f;
    checks.push_back({"BM_ProcessDriveOpenSave" + arg, "wall", "BM_ProcessReference" + arg, 1, 2});
    checks.push_back(
        {"BM_ProcessDriveOpenSave" + arg, "wall", "BM_ProcessReferenceDurable" + arg, 1, 2});
    checks.push_back(
        {"BM_ProcessDriveOpenSave" + arg, "child_cpu_ms", "BM_ProcessReference" + arg, 1, 2});
  }
  // Find and Replace over 9999 entries.
  checks.push_back({"BM_ReplaceAllCommand", "wall", read, 1, 0, 50e-3});
  checks.push_back({"BM_FindNextCommand/whole_words:0", "wall", read, 1, 0, 10e-3});
  checks.push_back({"BM_FindNextCommand/whole_words:1", "wall", read, 1, 0, 10e-3});
  // Spelling after a keystroke: only the changed line is checked again.
  checks.push_back({"BM_SpellKeystrokeEntry", "wall", "", 1, 0, 1e-3});
  checks.push_back({"BM_SpellKeystrokePasted1000", "wall", "", 1, 0, 1e-3});
  checks.push_back({"BM_SpellPasted1000Whole", "wall"});
  // The same through the main window: the key typed into Text9, then its underlined words.
  checks.push_back({"BM_SpellWindowKeystrokeEntry", "wall", "", 1, 0, 1e-3});
  checks.push_back({"BM_SpellWindowKeystrokePasted1000", "wall", "", 1, 0, 1e-3});
  return obrel::bench::runWithChecks(argc, argv, checks);
}
