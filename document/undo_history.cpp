#include "document/undo_history.h"

#include <utility>

namespace obrel {

UndoStep UndoStep::timing(int current, TimingChange change) {
  change.shrink();
  UndoStep step{Kind::Timing, current, {}, {}};
  step.change = std::move(change);
  return step;
}

UndoStep UndoStep::texts(int current, const char* name, TextChanges changes) {
  changes.shrink();
  UndoStep step{Kind::Texts, current, {}, {}};
  step.change = std::move(changes);
  step.textsName = name;
  return step;
}

const char* UndoStep::name() const {
  switch (kind) {
    case Kind::Timing: return std::get<TimingChange>(change).name();
    case Kind::Texts: return textsName;
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
    case Kind::Timing: std::get<TimingChange>(change).revert(store); break;
    case Kind::Texts: std::get<TextChanges>(change).revert(store); break;
  }
}

void UndoStep::redo(EntryStore& store) const {
  switch (kind) {
    case Kind::Commit: store.edit(index) = after; break;
    case Kind::Clear: store.edit(index) = Entry{}; break;
    case Kind::Insert: store.insertAt(index); break;
    case Kind::Delete: store.removeAt(index); break;
    case Kind::Timing: std::get<TimingChange>(change).apply(store); break;
    case Kind::Texts: std::get<TextChanges>(change).apply(store); break;
  }
}

namespace {

std::size_t heapBytes(const std::string& s) {
  // A short string lives inside its object; counted once either way.
  return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
}

std::size_t heapBytes(const Entry& e) {
  std::size_t n = heapBytes(e.EntryText) + heapBytes(e.EntryTiming);
  for (const std::string* part : {&e.StartHours, &e.StartMinutes, &e.StartSeconds,
                                  &e.StartMillis, &e.EndHours, &e.EndMinutes, &e.EndSeconds,
                                  &e.EndMillis})
    n += heapBytes(*part);
  return n;
}

}  // namespace

std::size_t UndoStep::memoryBytes() const {
  // The change's own object is inside the step; only what it holds beyond that is added.
  std::size_t held = 0;
  if (const auto* timing = std::get_if<TimingChange>(&change))
    held = timing->memoryBytes() - sizeof(TimingChange);
  if (const auto* texts = std::get_if<TextChanges>(&change))
    held = texts->memoryBytes() - sizeof(TextChanges);
  return sizeof *this + heapBytes(before) + heapBytes(after) + held;
}

void UndoHistory::record(UndoStep step) {
  for (const UndoStep& gone : undone_) bytes_ -= gone.memoryBytes();
  undone_.clear();
  bytes_ += step.memoryBytes();
  done_.push_back(std::move(step));
  while (done_.size() > 1 && (done_.size() > kLimit || bytes_ > memoryLimit_)) {
    bytes_ -= done_.front().memoryBytes();
    done_.pop_front();
  }
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
  bytes_ = 0;
}

std::string UndoHistory::undoCaption() const {
  return done_.empty() ? "Undo" : std::string("Undo ") + done_.back().name();
}

std::string UndoHistory::redoCaption() const {
  return undone_.empty() ? "Redo" : std::string("Redo ") + undone_.back().name();
}

}  // namespace obrel
