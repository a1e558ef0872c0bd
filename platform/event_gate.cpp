#include "platform/event_gate.h"

#include "platform/guard.h"

namespace obrel {

bool EventGate::run(const char* where, const std::function<void()>& handler) {
  ++depth_;
  const bool ran = guarded(where, handler);
  --depth_;
  if (depth_ == 0 && afterOutermost) afterOutermost();
  if (afterEach) afterEach();
  return ran;
}

}  // namespace obrel
