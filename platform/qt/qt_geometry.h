#pragma once
// The models place controls in twips; the widgets are placed in pixels at 96 dpi.
#include <QRect>
#include <QSize>

#include "platform/controls.h"

namespace obrel {

int pixels(int twips);
QRect pixelRect(const Rect& place);
// The size a picture shows at on a button placed at place: a picture larger than the button
// is shrunk, keeping its shape, to fit inside the button's frame.
QSize iconSize(QSize picture, const Rect& place);

}  // namespace obrel
