// Attaches the handlers of the field rules, the options, the commit and the Edit commands.
#include "editor/form2.h"

namespace obrel {

void Form2::attachEditing() {}

}  // namespace obrel
