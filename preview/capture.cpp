#include "preview/capture.h"

#include <cmath>
#include <cstdint>

#include "platform/numbers.h"

namespace obrel {

namespace {

// Beyond this every double is a whole number and no player reports such a position; below
// it the whole seconds fit a 64-bit integer exactly.
constexpr double kLongestPosition = 9007199254740992.0;  // 2^53

}  // namespace

CapturedTime captureTime(double position) {
  // A player with no media or a broken stream may report nonsense; it must not crash us.
  if (!(position >= 0 && position < kLongestPosition)) position = 0;

  // Minutes and seconds both come from the whole seconds, so they can never disagree the
  // way separate floating-point divisions could.
  const double whole = std::floor(position);
  auto wholeSeconds = static_cast<std::int64_t>(whole);
  auto millis = static_cast<std::int64_t>(roundHalfEven((position - whole) * 1000.0));
  if (millis >= 1000) {  // 59.9996 s is 1:00.000, not 0:59 with a four-digit millisecond
    millis -= 1000;
    ++wholeSeconds;
  }

  const std::int64_t totalMinutes = wholeSeconds / 60;
  return CapturedTime{std::to_string(totalMinutes / 60), std::to_string(totalMinutes % 60),
                      std::to_string(wholeSeconds % 60), std::to_string(millis)};
}

}  // namespace obrel
