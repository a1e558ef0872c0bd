#include "platform/window_placement.h"

#include <gtest/gtest.h>

namespace obrel {
namespace {

TEST(PlaceBeside, RightOfTheOwnerElseBelowElseOverItAlwaysOnTheScreen) {
  struct Case {
    const char* what;
    ScreenRect owner;
    int width, height;
    ScreenRect screen;
    ScreenPoint expected;
  };
  const ScreenRect wide{0, 0, 1920, 1080};
  const Case cases[] = {
      {"right, tops level", {100, 50, 1166, 643}, 600, 480, wide, {1266, 50}},
      {"right, raised to stay on the screen", {0, 700, 1166, 300}, 600, 480, wide, {1166, 600}},
      {"right, on a second screen below a panel",
       {2000, 40, 1166, 643},
       600,
       480,
       {1920, 30, 1920, 1050},
       {3166, 40}},
      {"no room right: below", {50, 0, 1166, 500}, 600, 480, {0, 0, 1280, 1024}, {50, 500}},
      {"no room right or below: over, right edges level",
       {100, 50, 1166, 643},
       600,
       480,
       {0, 0, 1366, 768},
       {666, 50}},
      {"owner partly off the screen: over, pulled onto it",
       {1500, 100, 1166, 643},
       600,
       480,
       wide,
       {1320, 100}},
      {"larger than the screen: its corner", {0, 0, 1166, 643}, 2000, 1200, wide, {0, 0}},
  };
  for (const Case& c : cases) {
    const ScreenPoint at = placeBeside(c.owner, c.width, c.height, c.screen);
    EXPECT_EQ(at, c.expected) << c.what << ": got " << at.x << "," << at.y;
  }
}

}  // namespace
}  // namespace obrel
