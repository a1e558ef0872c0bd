#pragma once
// Where a window that belongs to another opens on the screen: beside its owner rather than
// over it, so that it hides nothing the user works on while the screen has room.
namespace obrel {

// A rectangle on the screen, in pixels.
struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The top left corner of a window width x height (frames included) that belongs to owner,
// on a screen whose free area is screen: to owner's right, tops level, when it fits there;
// else below owner, left edges level; else over owner, right edges and tops level. Moved
// into the free area as far as its size allows.
ScreenPoint placeBeside(const ScreenRect& owner, int width, int height, const ScreenRect& screen);

}  // namespace obrel
