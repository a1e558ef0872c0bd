// Edit > Undo and Edit > Redo, and where they leave the editor.
#include <optional>
#include <string>
#include <utility>

#include "editor/form2.h"

namespace obrel {

namespace {

// Undo and Redo change the document as "OK" does: the save prompt must ask.
void countAsChange(Form2& form) {
  form.countChange();
  form.Save.setEnabled(true);
  form.SaveAs.setEnabled(true);
}

// After a step taken back or repeated: the entry it worked on; slot 10000, which the index
// box cannot name, leaves the editor where it is.
void showStepEntry(Form2& form, int k) {
  if (k < EntryStore::kLast) form.showEntryAt(k);
}

}  // namespace

void Form2::Undo_Click() {
  const std::optional<int> k = history_.undo(store);
  if (!k) return;
  countAsChange(*this);
  showHistory();
  showStepEntry(*this, *k);
}

void Form2::Redo_Click() {
  const std::optional<int> k = history_.redo(store);
  if (!k) return;
  countAsChange(*this);
  showHistory();
  showStepEntry(*this, *k);
}

void Form2::clearUndoHistory() {
  history_.clear();
  showHistory();
}

void Form2::remember(UndoStep step) {
  history_.record(std::move(step));
  showHistory();
}

void Form2::showHistory() {
  Undo.setCaption(history_.undoCaption());
  Undo.setEnabled(history_.canUndo());
  Redo.setCaption(history_.redoCaption());
  Redo.setEnabled(history_.canRedo());
}

void Form2::showEntryAt(int k) {
  const bool ok = Command3.enabled();
  const bool next = Command4.enabled();
  const std::string box = std::to_string(k);
  if (Text10.text() == box) {
    CurrentIndex = static_cast<std::int16_t>(k);
    ShowEntry();
  } else {
    setIndexBox(box);
  }
  Command3.setEnabled(ok);
  Command4.setEnabled(next);
}

}  // namespace obrel
