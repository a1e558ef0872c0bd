#include "shell/form5.h"

#include <utility>

namespace obrel {

Form5::Form5(Form2& main, std::function<void()> showMain)
    : Form("Form5"), main_(main), showMain_(std::move(showMain)), rows_(main.document().store) {
  setCaption("Entries");
  clientWidth = 9000;
  clientHeight = 7200;
  border = Border::FixedSingle;
  minButton = true;
  List1.place = {0, 0, clientWidth, clientHeight};
  List1.columns = {"#", "Start", "End", "Text"};
  List1.columnWidths = {750, 1650, 1650};
  List1.rowHeight = 300;
  List1.rows = &rows_;
  List1.accessibleName = "Entries";
  List1.onPick = [this](int row) { List1_Pick(row); };
  add(List1);
  // Undo, Redo, Find Next and Find Previous reach the document from here too.
  for (MenuItem* item : {&main.Undo, &main.Redo, &main.FindNextKey, &main.FindPreviousKey}) {
    borrowedShortcuts.push_back({item->shortcut, item});
  }
  refresh();
}

void Form5::refresh() {
  const std::uint64_t revision = main_.document().store.revision();
  if (revision != storeRevision_) {
    storeRevision_ = revision;
    rows_.reread();
    List1.rowsChanged();
  }
  List1.select(rows_.rowOf(main_.CurrentIndex));
}

void Form5::List1_Pick(int row) {
  if (row < 0 || row >= rows_.count()) return;
  // The index box's change rule shows the entry, as after the user's edit of the box.
  main_.showEntryAt(rows_.slot(row));
  showMain_();
}

}  // namespace obrel
