#pragma once
// The steps the Edit menu's Undo and Redo take back and repeat: a commit, an Insert, a Clear
// or a Delete, each keeping only the slots it touched, never a copy of the store.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "document/entry_store.h"

namespace obrel {

struct UndoStep {
  enum class Kind { Commit, Insert, Clear, Delete };
  Kind kind;
  // The slot the step worked on.
  int index;
  // Commit and Clear: the slot before the step. Insert: what slot 10000 held before the
  // shift dropped it. Delete: the slot it removed.
  Entry before;
  // Commit: the slot it stored.
  Entry after;

  // "Commit", "Insert", "Clear" or "Delete", for the menu captions.
  const char* name() const;
  // Puts the store back as it was before the step / applies the step again.
  void undo(EntryStore& store) const;
  void redo(EntryStore& store) const;
};

class UndoHistory {
 public:
  // Older steps fall off the far end.
  static constexpr std::size_t kLimit = 1000;

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

 private:
  std::deque<UndoStep> done_;
  std::deque<UndoStep> undone_;
};

}  // namespace obrel
