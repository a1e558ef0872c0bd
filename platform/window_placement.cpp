#include "platform/window_placement.h"

#include <algorithm>

namespace obrel {

namespace {

// start, moved so that [start, start + size) lies in [low, high) as far as size allows; a
// window larger than the space keeps its first edge at low.
int within(int start, int size, int low, int high) {
  return std::max(low, std::min(start, high - size));
}

}  // namespace

ScreenPoint placeBeside(const ScreenRect& owner, int width, int height, const ScreenRect& screen) {
  const int right = screen.left + screen.width;
  const int bottom = screen.top + screen.height;
  const int ownerRight = owner.left + owner.width;
  const int ownerBottom = owner.top + owner.height;
  if (ownerRight >= screen.left && ownerRight + width <= right && height <= screen.height) {
    return {ownerRight, within(owner.top, height, screen.top, bottom)};
  }
  if (ownerBottom >= screen.top && ownerBottom + height <= bottom && width <= screen.width) {
    return {within(owner.left, width, screen.left, right), ownerBottom};
  }
  return {within(ownerRight - width, width, screen.left, right),
          within(owner.top, height, screen.top, bottom)};
}

}  // namespace obrel
