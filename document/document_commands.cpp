// Attaches the handlers of saving, the save prompt, New and Exit.
#include "editor/form2.h"

namespace obrel {

void Form2::attachDocument() {}

}  // namespace obrel
