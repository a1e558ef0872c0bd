// Attaches the handlers of saving, the save prompt, New and Exit.
#include "editor/form2.h"

namespace obrel {

void Form2::attachDocument() {
  New.onClick = [this] { New_Click(); };
  Save.onClick = [this] { Save_Click(); };
  SaveAs.onClick = [this] { SaveAs_Click(); };
  Exit.onClick = [this] { Exit_Click(); };
}

}  // namespace obrel
