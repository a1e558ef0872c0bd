#pragma once
// What must hold of the main window after any input or action; the fuzz targets and the
// random-action test check it after every step.
#include <algorithm>
#include <string>
#include <string_view>

#include "document/entry_store.h"
#include "editor/form2.h"

namespace obrel::invariants {

// The first slot whose values break the store's rule, as a message; "" when none does. Every
// slot is either wholly empty or holds the timing line the timing rule makes of its parts,
// perhaps followed by a position tail (a blank, then something other than blanks), or a
// timing line read from a file that could not be taken apart, with all eight parts empty.
inline std::string storeProblem(const EntryStore& store) {
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    const Entry& e = store.at(k);
    if (e.EntryTiming.empty()) {
      if (!e.empty()) return "slot " + std::to_string(k) + " has values but no timing line";
      continue;
    }
    const std::string rule = timingLine(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                                        e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
    const bool partsEmpty = (e.StartHours + e.StartMinutes + e.StartSeconds + e.StartMillis +
                             e.EndHours + e.EndMinutes + e.EndSeconds + e.EndMillis)
                                .empty();
    const std::string_view tail =
        std::string_view(e.EntryTiming).substr(std::min(rule.size(), e.EntryTiming.size()));
    const bool ruleWithTail =
        e.EntryTiming.starts_with(rule) &&
        (tail.empty() || ((tail[0] == ' ' || tail[0] == '\t') &&
                          tail.find_first_not_of(" \t") != std::string_view::npos));
    if (!ruleWithTail && !partsEmpty) {
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
  return storeProblem(form.document().store);
}

}  // namespace obrel::invariants
