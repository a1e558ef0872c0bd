// The unsaved-changes prompt and the two commands that obey it, File > New and File > Exit.
#include "editor/form2.h"
#include "platform/prompts.h"

namespace obrel {

void Form2::SaveOrNot() {
  if (ChangeCount == 0) {
    ProceedFlag = 1;  // nothing to lose
    return;
  }
  const Answer answer = services_.prompts.messageBox(
      "Do You Want To Save Your Changes?", "Obrel Dizivud", Icon::Question, Buttons::YesNoCancel);
  if (answer == Answer::Yes) {
    Save_Click();
    if (!saveSucceeded) {
      // Nothing was written: going on would lose the work.
      ProceedFlag = 0;
      return;
    }
  }
  if (answer == Answer::Yes || answer == Answer::No) {
    Save.setEnabled(false);
    SaveAs.setEnabled(false);
    ProceedFlag = 1;
  } else {
    ProceedFlag = 0;
  }
}

Form2::SaveItems Form2::saveItems() const { return {Save.enabled(), SaveAs.enabled()}; }

void Form2::keepSaveItems(SaveItems before) {
  // A load enables both; the prompt's Yes or No alone only disabled them.
  Save.setEnabled(Save.enabled() || before.save);
  SaveAs.setEnabled(SaveAs.enabled() || before.saveAs);
}

void Form2::New_Click() {
  SaveOrNot();
  if (ProceedFlag == 1) Initial();
}

void Form2::Exit_Click() {
  SaveOrNot();
  if (ProceedFlag == 1) shell_.unloadAll();
}

}  // namespace obrel
