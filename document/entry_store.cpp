#include "document/entry_store.h"

#include "platform/failure.h"

namespace obrel {

bool Entry::timed() const {
  return !StartHours.empty() || !StartMinutes.empty() || !StartSeconds.empty() ||
         !StartMillis.empty() || !EndHours.empty() || !EndMinutes.empty() ||
         !EndSeconds.empty() || !EndMillis.empty();
}

bool Entry::empty() const { return timed() == false && EntryText.empty() && EntryTiming.empty(); }

std::string timingLine(const std::string& startHours, const std::string& startMinutes,
                       const std::string& startSeconds, const std::string& startMillis,
                       const std::string& endHours, const std::string& endMinutes,
                       const std::string& endSeconds, const std::string& endMillis) {
  std::string line;
  line.reserve(29);
  line.append(startHours).append(":").append(startMinutes).append(":").append(startSeconds);
  line.append(",").append(startMillis).append(" --> ");
  line.append(endHours).append(":").append(endMinutes).append(":").append(endSeconds);
  line.append(",").append(endMillis);
  return line;
}

Entry& EntryStore::at(int k) {
  if (k < kFirst || k > kLast) throw IndexOutOfRange();
  return (*slots_)[k];
}

const Entry& EntryStore::at(int k) const {
  if (k < kFirst || k > kLast) throw IndexOutOfRange();
  return (*slots_)[k];
}

void EntryStore::clearFrom(int from) {
  for (int k = from; k <= kLast; ++k) (*slots_)[k] = Entry{};
}

}  // namespace obrel
