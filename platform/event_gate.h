#pragma once
// The one way in for a user's event, shared by the Qt program, the driver and the test
// hosts: the handler runs under the guard, then what the event left behind is collected
// (once no other event is running: a handler may run inside another's modal dialog), then
// the views follow.
#include <functional>

namespace obrel {

class EventGate {
 public:
  // Runs handler under the guard (a failure that escapes it is reported on standard error
  // and goes no further), then afterOutermost if no other event is running, then afterEach.
  // Returns false when a failure escaped the handler.
  bool run(const char* where, const std::function<void()>& handler);
  // Whether an event is running (a modal dialog inside it may let others in).
  bool busy() const { return depth_ > 0; }

  // Lets go of what the event closed (Program::collect).
  std::function<void()> afterOutermost;
  // Brings the views up to date with the models.
  std::function<void()> afterEach;

 private:
  int depth_ = 0;
};

}  // namespace obrel
