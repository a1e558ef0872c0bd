// Edit > Undo and Edit > Redo, and where they leave the editor.
#include <optional>
#include <string>
#include <utility>

#include "editor/form2.h"

namespace obrel {

void Form2::Undo_Click() { showStepTaken(document_.history.undo(document_.store)); }

void Form2::Redo_Click() { showStepTaken(document_.history.redo(document_.store)); }

void Form2::showStepTaken(std::optional<int> k) {
  if (!k) return;
  markChanged();  // as "OK" does: the save prompt must ask
  showHistory();
  // The entry the step worked on; slot 10000, which the index box cannot name, leaves the
  // editor where it is.
  if (*k < EntryStore::kLast) showEntryAt(*k);
}

void Form2::clearUndoHistory() {
  document_.history.clear();
  showHistory();
}

void Form2::remember(UndoStep step) {
  document_.history.record(std::move(step));
  showHistory();
}

void Form2::showHistory() {
  Undo.setCaption(document_.history.undoCaption());
  Undo.setEnabled(document_.history.canUndo());
  Redo.setCaption(document_.history.redoCaption());
  Redo.setEnabled(document_.history.canRedo());
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
