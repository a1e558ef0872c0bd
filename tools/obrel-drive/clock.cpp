// Time going by: the timers of the open windows fire as their intervals run out; and the
// program's abnormal end.
#include <cstdlib>

#include "platform/controls.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

void Driver::tick(const Words& words) {
  const char* usage = "tick takes milliseconds";
  need(words.size() == 2, usage);
  const long long ms = wholeNumber(words[1], usage);
  need(ms >= 0, usage);
  advanceClock(ms);
  // Time has gone by: changes waiting for the recovery copy's timed write are written,
  // whatever the time given.
  if (program_.recoveryDue()) handle("a timer", [this] { program_.writeRecoveryDue(); });
}

void Driver::crash(const Words& words) {
  const char* usage = "crash takes nothing, or \"in save\"";
  if (words.size() == 1) {
    crashed_ = true;
    return;
  }
  need(words.size() == 3 && !words[1].quoted && words[1].text == "in" && !words[2].quoted &&
           words[2].text == "save",
       usage);
  files_.afterCut = [this] {
    // Ended as a kill ends it: what was printed stays, nothing else is done.
    out_.flush();
    std::_Exit(0);
  };
}

void Driver::advanceClock(long long ms) {
  // Timers fire in steps, so a timer started by another one's handler counts from then.
  while (ms > 0 && !program_.ended()) {
    Timer* next = nullptr;
    long long wait = ms + 1;
    for (Form* f : program_.windows()) {
      for (Control* c : f->controls()) {
        if (c->kind() != ControlKind::Timer || !c->enabled()) continue;
        auto* timer = static_cast<Timer*>(c);
        const long long left = timer->intervalMs - timerElapsed_[timer];
        if (left < wait) {
          wait = left;
          next = timer;
        }
      }
    }
    const long long step = next ? wait : ms;
    for (auto& [timer, elapsed] : timerElapsed_) elapsed += step;
    ms -= step;
    if (next) {
      timerElapsed_[next] = 0;
      handle("a timer", [&] { next->onTimer(); });
    }
    // Timers that stopped or closed with their window start from zero again.
    std::erase_if(timerElapsed_, [&](const auto& item) {
      for (Form* f : program_.windows()) {
        for (Control* c : f->controls()) {
          if (c == item.first && c->enabled()) return false;
        }
      }
      return true;
    });
  }
}

}  // namespace obrel::drive
