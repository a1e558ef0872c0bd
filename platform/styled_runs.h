#pragma once
// Text in runs of one style each, as it is drawn over the picture: italic, bold, underlined,
// coloured. The reading of tags into runs lives above (preview/styled_text.h); the player
// below only draws them.
#include <cstdint>
#include <string>
#include <vector>

namespace obrel {

// 0xRRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb kWhite = 0xFFFFFF;

struct TextStyle {
  bool italic = false;
  bool bold = false;
  bool underline = false;
  Rgb colour = kWhite;
  bool operator==(const TextStyle&) const = default;
};

struct StyledRun {
  std::string text;  // UTF-8, never empty
  TextStyle style;
  bool operator==(const StyledRun&) const = default;
};

// One line: runs in order, neighbours always of different styles; no runs for a line that
// draws nothing.
using StyledLine = std::vector<StyledRun>;

}  // namespace obrel
