#include "document/undo_history.h"

#include <utility>

namespace obrel {

const char* UndoStep::name() const {
  switch (kind) {
    case Kind::Commit: return "Commit";
    case Kind::Insert: return "Insert";
    case Kind::Clear: return "Clear";
    case Kind::Delete: return "Delete";
  }
  return "";
}

void UndoStep::undo(EntryStore& store) const {
  switch (kind) {
    case Kind::Commit:
    case Kind::Clear: store.edit(index) = before; break;
    case Kind::Insert:
      store.removeAt(index);
      store.edit(EntryStore::kLast) = before;
      break;
    case Kind::Delete:
      // Slot 10000 is empty after a Delete: the shift up drops nothing.
      store.insertAt(index);
      store.edit(index) = before;
      break;
  }
}

void UndoStep::redo(EntryStore& store) const {
  switch (kind) {
    case Kind::Commit: store.edit(index) = after; break;
    case Kind::Clear: store.edit(index) = Entry{}; break;
    case Kind::Insert: store.insertAt(index); break;
    case Kind::Delete: store.removeAt(index); break;
  }
}

void UndoHistory::record(UndoStep step) {
  undone_.clear();
  done_.push_back(std::move(step));
  if (done_.size() > kLimit) done_.pop_front();
}

namespace {

// Applies the last step of from (its undo or its redo) and moves it to the end of to.
std::optional<int> takeLast(std::deque<UndoStep>& from, std::deque<UndoStep>& to,
                            void (UndoStep::*apply)(EntryStore&) const, EntryStore& store) {
  if (from.empty()) return std::nullopt;
  (from.back().*apply)(store);
  to.push_back(std::move(from.back()));
  from.pop_back();
  return to.back().index;
}

}  // namespace

std::optional<int> UndoHistory::undo(EntryStore& store) {
  return takeLast(done_, undone_, &UndoStep::undo, store);
}

std::optional<int> UndoHistory::redo(EntryStore& store) {
  return takeLast(undone_, done_, &UndoStep::redo, store);
}

void UndoHistory::clear() {
  done_.clear();
  undone_.clear();
}

std::string UndoHistory::undoCaption() const {
  return done_.empty() ? "Undo" : std::string("Undo ") + done_.back().name();
}

std::string UndoHistory::redoCaption() const {
  return undone_.empty() ? "Redo" : std::string("Redo ") + undone_.back().name();
}

}  // namespace obrel
