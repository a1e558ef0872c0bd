#include "document/timing_change.h"

#include <bit>
#include <utility>

namespace obrel {

namespace {

// Wide enough for (t - origin) * num with every operand near 2^62.
__extension__ using Wide = __int128;

constexpr Wide kHeld = Wide{1} << 62;

// The line built from an entry's parts is as long as the parts and the 11 separators.
std::size_t builtLength(const std::string (&parts)[8]) {
  std::size_t size = 11;
  for (const std::string& part : parts) size += part.size();
  return size;
}

// What writeTimes puts before the tail.
constexpr std::size_t kUsualLine = 29;

}  // namespace

std::int64_t TimeMap::operator()(std::int64_t t) const {
  const Wide n = (Wide{t} - origin) * num;
  // floor((2n + den) / 2den) is n / den rounded to the nearest, halves up; C++ division
  // truncates towards zero, so below zero floor takes one more step down.
  const Wide twice = n * 2 + den;
  Wide q = twice / (Wide{den} * 2);
  if (twice % (Wide{den} * 2) != 0 && twice < 0) --q;
  Wide result = q + base;
  if (result > kHeld) result = kHeld;
  if (result < -kHeld) result = -kHeld;
  return static_cast<std::int64_t>(result);
}

TimingChange::TimingChange(const char* name, TimeMap map) : name_(name), map_(map) {}

void TimingChange::add(int k, const EntryTimes& before, const Entry& entry) {
  if (old_.empty()) first_ = k;
  last_ = k;
  const auto bit = static_cast<std::size_t>(k - first_);
  if (bit / 64 >= touchedBits_.size()) touchedBits_.resize(bit / 64 + 1);
  touchedBits_[bit / 64] |= std::uint64_t{1} << (bit % 64);
  old_.push_back(
      {static_cast<std::uint32_t>(before.start), static_cast<std::uint32_t>(before.end)});
  if (!before.usualWidths) {
    exact_.push_back({k,
                      {entry.StartHours, entry.StartMinutes, entry.StartSeconds, entry.StartMillis,
                       entry.EndHours, entry.EndMinutes, entry.EndSeconds, entry.EndMillis}});
  }
}

void TimingChange::shrink() {
  touchedBits_.shrink_to_fit();
  old_.shrink_to_fit();
  exact_.shrink_to_fit();
}

template <typename Visit>
void TimingChange::forEach(Visit visit) const {
  std::size_t next = 0, nextExact = 0;
  for (std::size_t word = 0; word < touchedBits_.size(); ++word) {
    for (std::uint64_t bits = touchedBits_[word]; bits != 0; bits &= bits - 1) {
      const int k = first_ + static_cast<int>(word * 64) + std::countr_zero(bits);
      const ExactParts* exact = nullptr;
      if (nextExact < exact_.size() && exact_[nextExact].slot == k) exact = &exact_[nextExact++];
      visit(k, old_[next++], exact);
    }
  }
}

void TimingChange::apply(EntryStore& store) const {
  forEach([&](int k, const OldTimes& old, const ExactParts* exact) {
    writeTimes(store.edit(k), map_(old.start), map_(old.end),
               exact ? builtLength(exact->parts) : kUsualLine);
  });
}

void TimingChange::revert(EntryStore& store) const {
  forEach([&](int k, const OldTimes& old, const ExactParts* exact) {
    Entry& e = store.edit(k);
    if (!exact) {
      writeTimes(e, old.start, old.end, kUsualLine);
      return;
    }
    const std::string(&p)[8] = exact->parts;
    e.StartHours = p[0];
    e.StartMinutes = p[1];
    e.StartSeconds = p[2];
    e.StartMillis = p[3];
    e.EndHours = p[4];
    e.EndMinutes = p[5];
    e.EndSeconds = p[6];
    e.EndMillis = p[7];
    e.EntryTiming.replace(0, std::min(kUsualLine, e.EntryTiming.size()),
                          timingLine(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]));
  });
}

std::size_t TimingChange::memoryBytes() const {
  std::size_t bytes = sizeof(*this) + touchedBits_.capacity() * sizeof(std::uint64_t) +
                      old_.capacity() * sizeof(OldTimes) + exact_.capacity() * sizeof(ExactParts);
  const std::size_t inPlace = std::string().capacity();
  for (const ExactParts& exact : exact_) {
    for (const std::string& part : exact.parts) {
      if (part.capacity() > inPlace) bytes += part.capacity() + 1;
    }
  }
  return bytes;
}

}  // namespace obrel
