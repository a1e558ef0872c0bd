// The Timings menu: the whole-store timing tools as Undo steps, and the windows that ask
// for their amounts.
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "document/timing_tools.h"
#include "editor/form2.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "preview/capture.h"

namespace obrel {

namespace {

// A part captureTime wrote: decimal digits only.
std::int64_t digitsValue(const std::string& digits) {
  std::int64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

}  // namespace

void Form2::warn(const std::string& text) {
  services_.prompts.messageBox(text, "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
}

bool Form2::applyTiming(const TimingCommand& command) {
  TimingOutcome outcome = planTiming(document_.store, command);
  if (outcome.kind == TimingOutcome::Kind::Refused) {
    warn(outcome.message);
    return false;
  }
  if (outcome.kind == TimingOutcome::Kind::NoStep) return true;
  outcome.change.apply(document_.store);
  remember(UndoStep::timing(CurrentIndex, std::move(outcome.change)));
  // As Undo ends: a change to save, the current entry shown again from the store, typing
  // not stored with "OK" gone.
  markChanged();
  if (CurrentIndex < EntryStore::kLast) showEntryAt(CurrentIndex);
  if (outcome.unreadable != 0) warn(unreadableTimesMessage(outcome.unreadable));
  return true;
}

void Form2::ShiftTimes_Click() { shell_.showToolWindow("Form6"); }

void Form2::Synchronize_Click() {
  if (!firstAndLastTimed(document_.store)) {
    warn(kSynchronizeNeedsTwoMessage);
    return;
  }
  shell_.showToolWindow("Form7");
}

void Form2::ChangeFrameRate_Click() { shell_.showToolWindow("Form8"); }

void Form2::SetStartAndShift_Click() {
  const CapturedTime at = captureTime(services_.player.position());
  // The menu item shares its name with the command.
  applyTiming(obrel::SetStartAndShift{CurrentIndex,
                                      millisOf(digitsValue(at.hours), digitsValue(at.minutes),
                                               digitsValue(at.seconds), digitsValue(at.millis))});
}

}  // namespace obrel
