// "OK": the commit of the nine fields into the store at CurrentIndex, with its checks.
#include <optional>
#include <utility>

#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/prompts.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

// A stored time part: a part shorter than width gets zeros in front up to width ("5" ->
// "05", "7" -> "007"); an empty or a longer part stays as it is.
std::string widen(const std::string& part, std::size_t width) {
  const std::size_t length = utf8::length(part);
  if (length == 0 || length >= width) return part;
  return std::string(width - length, '0') + part;
}

// Hours, minutes and seconds; milliseconds never take part in a comparison.
struct Clock {
  double hours, minutes, seconds;
};

// Whether a lies before b, to the second.
bool before(const Clock& a, const Clock& b) {
  if (a.hours != b.hours) return a.hours < b.hours;
  if (a.minutes != b.minutes) return a.minutes < b.minutes;
  return a.seconds < b.seconds;
}

// Typed fields read leniently: their leading digits, none reading as 0.
Clock typed(const TextBox& hours, const TextBox& minutes, const TextBox& seconds) {
  return {static_cast<double>(leadingValue(hours.text())),
          static_cast<double>(leadingValue(minutes.text())),
          static_cast<double>(leadingValue(seconds.text()))};
}

// Entry Check: a start before the previous entry's start. A previous start with a part
// that is no number (never filled, or read from a file) cannot be compared and lets the
// entry pass.
bool startsBeforePrevious(const Entry& previous, const Clock& start) {
  const std::optional<double> hours = readNumber(previous.StartHours).value;
  const std::optional<double> minutes = readNumber(previous.StartMinutes).value;
  const std::optional<double> seconds = readNumber(previous.StartSeconds).value;
  if (!hours || !minutes || !seconds) return false;
  return before(start, {*hours, *minutes, *seconds});
}

// The checks of a commit and its store into store, the document's; the caller counts the
// change and disables "OK" on every path. Returns the step for Undo when the entry was stored.
std::optional<UndoStep> commit(Form2& form, EntryStore& store, Prompts& prompts) {
  std::string startHours, endHours;
  if (form.FBlock.checked()) {
    startHours = endHours = form.DefaultHours;
    form.Text1.setText(form.DefaultHours);
    form.Text5.setText(form.DefaultHours);
  } else {
    startHours = form.Text1.text();
    endHours = form.Text5.text();
  }
  const std::string working[] = {startHours,        form.Text2.text(), form.Text3.text(),
                                 form.Text4.text(), endHours,          form.Text6.text(),
                                 form.Text7.text(), form.Text8.text(), form.Text9.text()};
  for (const std::string& value : working) {
    if (value.empty()) {
      prompts.messageBox("Please Enter All The Fields.", "Field's Entry Missing!",
                         Icon::Information, Buttons::OK);
      return std::nullopt;
    }
  }

  // The checks read the fields again: with Field Block on, the hours fields now hold
  // DefaultHours cut to their two characters.
  const Clock start = typed(form.Text1, form.Text2, form.Text3);
  const Clock end = typed(form.Text5, form.Text6, form.Text7);
  if (form.CurrentIndex >= 2 && form.EntryCheck.checked() &&
      startsBeforePrevious(store.at(form.CurrentIndex - 1), start)) {
    prompts.messageBox("The Starting time of this entry can't start before that of Previous entry.",
                       ">Error<", Icon::Critical, Buttons::OK);
    form.Command4.setEnabled(false);
    return std::nullopt;
  }
  if (before(end, start)) {
    prompts.messageBox("Ending time can't start before Starting Time.", "Error", Icon::Critical,
                       Buttons::OK);
    form.Command4.setEnabled(false);
    return std::nullopt;
  }

  Entry& slot = store.edit(form.CurrentIndex);
  Entry entry;
  entry.StartHours = widen(form.Text1.text(), 2);
  entry.StartMinutes = widen(form.Text2.text(), 2);
  entry.StartSeconds = widen(form.Text3.text(), 2);
  entry.StartMillis = widen(form.Text4.text(), 3);
  entry.EndHours = widen(form.Text5.text(), 2);
  entry.EndMinutes = widen(form.Text6.text(), 2);
  entry.EndSeconds = widen(form.Text7.text(), 2);
  entry.EndMillis = widen(form.Text8.text(), 3);
  entry.EntryTiming =
      timingLine(entry.StartHours, entry.StartMinutes, entry.StartSeconds, entry.StartMillis,
                 entry.EndHours, entry.EndMinutes, entry.EndSeconds, entry.EndMillis);
  entry.EntryText = working[8];
  // The entry as it was moves into the step; the stored one is held twice.
  UndoStep step{UndoStep::Kind::Commit, form.CurrentIndex, std::move(slot), entry};
  slot = std::move(entry);
  form.Command4.setEnabled(true);
  return step;
}

}  // namespace

void Form2::Command3_Click() {
  Save.setEnabled(true);
  SaveAs.setEnabled(true);
  try {
    if (std::optional<UndoStep> step = commit(*this, document_.store, services_.prompts)) {
      remember(std::move(*step));
    }
  } catch (const Failure&) {
    // CurrentIndex outside the store: nothing was written; the click still counts.
  }
  countChange();
  Command3.setEnabled(false);
}

}  // namespace obrel
