#pragma once
// The time capture: a playback position split into the four parts of a time field group.
#include <string>

namespace obrel {

// The parts as the time fields take them: decimal digits, no leading zeros, no sign.
struct CapturedTime {
  std::string hours;
  std::string minutes;
  std::string seconds;
  std::string millis;
};

// Splits position (seconds) into hours, minutes within the hour, seconds within the minute
// (all rounded down) and milliseconds (rounded half to even, 1000 carried into the
// seconds). A position that is negative, not finite or 2^53 s and beyond reads as 0.
CapturedTime captureTime(double position);

}  // namespace obrel
