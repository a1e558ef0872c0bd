#pragma once
// The steps the Edit menu's Undo and Redo take back and repeat: a commit, an Insert, a Clear
// or a Delete, a timing tool's change or a replacement of texts, each keeping only what it
// touched, never a copy of the store.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <variant>

#include "document/entry_store.h"
#include "document/store_search.h"
#include "document/timing_change.h"

namespace obrel {

struct UndoStep {
  enum class Kind { Commit, Insert, Clear, Delete, Timing, Texts };
  Kind kind;
  // The slot the step worked on; for a whole-store step, the entry that was current when it
  // was taken. Undo and Redo show it.
  int index;
  // Commit and Clear: the slot before the step. Insert: what slot 10000 held before the
  // shift dropped it. Delete: the slot it removed.
  Entry before;
  // Commit: the slot it stored.
  Entry after;
  // Timing: the timing tool's change. Texts: the texts replaced, under textsName.
  std::variant<std::monostate, TimingChange, TextChanges> change = {};
  const char* textsName = "";

  // A timing tool's change, taken with `current` as the current entry.
  static UndoStep timing(int current, TimingChange change);
  // Texts replaced by the command named `name` ("Replace", "Replace All").
  static UndoStep texts(int current, const char* name, TextChanges changes);

  // "Commit", "Insert", "Clear", "Delete" or the command's name, for the menu captions.
  const char* name() const;
  // Puts the store back as it was before the step / applies the step again.
  void undo(EntryStore& store) const;
  void redo(EntryStore& store) const;
  // The memory the step holds, itself included, counted against the history's cap.
  std::size_t memoryBytes() const;
};

class UndoHistory {
 public:
  // Older steps fall off the far end when there are more than kLimit of them or when those
  // kept, to undo and to redo, hold more than kMemoryLimit bytes. The newest always stays.
  static constexpr std::size_t kLimit = 1000;
  static constexpr std::size_t kMemoryLimit = 100 * 1024 * 1024;

  explicit UndoHistory(std::size_t memoryLimit = kMemoryLimit) : memoryLimit_(memoryLimit) {}

  // A new step; what could be redone is gone.
  void record(UndoStep step);
  // Takes the last step back / repeats the last step taken back, in store; returns the slot
  // the step worked on, or nothing when there is no step.
  std::optional<int> undo(EntryStore& store);
  std::optional<int> redo(EntryStore& store);
  void clear();

  // The captions of the menu items: "Undo Delete", or "Undo" when there is nothing to undo.
  std::string undoCaption() const;
  std::string redoCaption() const;
  bool canUndo() const { return !done_.empty(); }
  bool canRedo() const { return !undone_.empty(); }
  // How many steps can be undone, and the memory all kept steps hold.
  std::size_t size() const { return done_.size(); }
  std::size_t memoryBytes() const { return bytes_; }

 private:
  std::deque<UndoStep> done_;
  std::deque<UndoStep> undone_;
  std::size_t memoryLimit_;
  std::size_t bytes_ = 0;
};

}  // namespace obrel
