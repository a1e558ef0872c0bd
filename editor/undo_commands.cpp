// Edit > Undo and Edit > Redo, and where they leave the editor.
#include <optional>
#include <string>
#include <utility>

#include "editor/form2.h"

namespace obrel {

void Form2::Undo_Click() { showStepTaken(history_.undo(store)); }

void Form2::Redo_Click() { showStepTaken(history_.redo(store)); }

void Form2::showStepTaken(std::optional<int> k) {
  if (!k) return;
  markChanged();  // as "OK" does: the save prompt must ask
  showHistory();
  // The entry the step worked on; slot 10000, which the index box cannot name, leaves the
  // editor where it is.
  if (*k < EntryStore::kLast) showEntryAt(*k);
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
