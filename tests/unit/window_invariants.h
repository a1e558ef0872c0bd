#pragma once
// What must hold of the main window after any input or action; the fuzz targets and the
// random-action test check it after every step.
#include <string>

#include "document/entry_store.h"
#include "editor/form2.h"

namespace obrel::invariants {

// The first slot whose values break the store's rule, as a message; "" when none does. Every
// slot is either wholly empty or holds the timing line the timing rule makes of its parts.
inline std::string storeProblem(const EntryStore& store) {
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    const Entry& e = store.at(k);
    if (e.EntryTiming.empty()) {
      if (!e.empty()) return "slot " + std::to_string(k) + " has values but no timing line";
      continue;
    }
    const std::string rule = timingLine(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                                        e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
    if (e.EntryTiming != rule) {
      return "slot " + std::to_string(k) + " holds the timing line \"" + e.EntryTiming +
             "\" for the parts of \"" + rule + "\"";
    }
  }
  return "";
}

// storeProblem, and CurrentIndex outside the store's slots.
inline std::string windowProblem(const Form2& form) {
  if (form.CurrentIndex < EntryStore::kFirst || form.CurrentIndex > EntryStore::kLast) {
    return "CurrentIndex is " + std::to_string(form.CurrentIndex);
  }
  return storeProblem(form.store);
}

}  // namespace obrel::invariants
