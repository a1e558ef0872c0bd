#pragma once
// The fonts the windows were designed in, as the fonts this machine has.
#include <QFont>

#include "platform/controls.h"

namespace obrel {

// Fonts the machine lacks, replaced by metric-compatible ones. Call once at start.
void installFontSubstitutions();
// The Qt font of a control's font definition.
QFont qtFont(const Font& definition);

}  // namespace obrel
