// The window's load and the two resets of the document.
#include "editor/form2.h"
#include "platform/numbers.h"

namespace obrel {

void Form2::countChange() {
  if (ChangeCount < kLargestInt16) ++ChangeCount;
}

void Form2::markChanged() {
  countChange();
  Save.setEnabled(true);
  SaveAs.setEnabled(true);
}

void Form2::showFirstEntry() {
  // Setting the box to the text it already holds runs no change handler, so show
  // entry 1 here in that case.
  if (Text10.text() == "1") {
    ShowEntry();
  } else {
    setIndexBox("1");
  }
}

void Form2::Form_Load() {
  ChangeCount = 0;
  CurrentIndex = 1;
  showFirstEntry();
  document_.markSaved();
}

void Form2::Initial() {
  document_.startNew();
  SavedIndex = 0;
  CurrentIndex = 1;
  setCaption("Obrel Dizivud");
  showHistory();
  showFirstEntry();
}

void Form2::Sub_Initial() {
  document_.store.clearFrom(1);
  SavedIndex = 0;
  CurrentIndex = 1;
  showFirstEntry();
}

}  // namespace obrel
