#include "document/store_search.h"

#include <algorithm>
#include <utility>

#include "platform/utf8.h"

namespace obrel {

namespace {

constexpr int kFirstSearched = 1;
constexpr std::size_t kEnd = std::string_view::npos;

const std::string& textOf(const EntryStore& store, int slot) { return store.at(slot).EntryText; }

SearchPosition clamped(const EntryStore& store, SearchPosition from) {
  if (from.slot < kFirstSearched) return {kFirstSearched, 0};
  if (from.slot > kLastEntry) return {kLastEntry, textOf(store, kLastEntry).size()};
  from.offset = std::min(from.offset, textOf(store, from.slot).size());
  return from;
}

EntryMatch entryMatch(const EntryStore& store, int slot, TextMatch m) {
  const std::string_view text = textOf(store, slot);
  return {slot, m.start, m.length, utf8::length(text.substr(0, m.start)),
          utf8::length(text.substr(m.start, m.length))};
}

// The slots after (before) from.slot in search order, round past the end once.
template <typename Visit>
std::optional<EntryMatch> eachOtherSlot(const EntryStore& store, int slot, int step, Visit visit) {
  const int count = kLastEntry - kFirstSearched + 1;
  for (int n = 1; n < count; ++n) {
    const int k = (slot - kFirstSearched + step * n + count) % count + kFirstSearched;
    const std::string& text = textOf(store, k);
    if (text.empty()) continue;
    if (const std::optional<TextMatch> m = visit(text)) return entryMatch(store, k, *m);
  }
  return std::nullopt;
}

}  // namespace

SearchPosition positionAtCharacter(const EntryStore& store, int slot, std::size_t characters) {
  slot = std::clamp(slot, kFirstSearched, kLastEntry);
  return {slot, utf8::offset(textOf(store, slot), characters)};
}

std::optional<EntryMatch> findNext(const EntryStore& store, const SearchQuery& query,
                                   SearchPosition from) {
  if (!query.valid()) return std::nullopt;
  from = clamped(store, from);
  const std::string& here = textOf(store, from.slot);
  if (const auto m = query.next(here, from.offset)) return entryMatch(store, from.slot, *m);
  if (auto m =
          eachOtherSlot(store, from.slot, 1, [&](std::string_view t) { return query.next(t); })) {
    return m;
  }
  if (const auto m = query.next(here); m && m->start < from.offset) {
    return entryMatch(store, from.slot, *m);
  }
  return std::nullopt;
}

std::optional<EntryMatch> findPrevious(const EntryStore& store, const SearchQuery& query,
                                       SearchPosition from) {
  if (!query.valid()) return std::nullopt;
  from = clamped(store, from);
  const std::string& here = textOf(store, from.slot);
  if (const auto m = query.previous(here, from.offset)) return entryMatch(store, from.slot, *m);
  if (auto m = eachOtherSlot(store, from.slot, -1,
                             [&](std::string_view t) { return query.previous(t, kEnd); })) {
    return m;
  }
  if (const auto m = query.previous(here, kEnd); m && m->start >= from.offset) {
    return entryMatch(store, from.slot, *m);
  }
  return std::nullopt;
}

void TextChanges::add(int slot, std::string_view before, std::string_view after) {
  slots_.push_back(slot);
  before_ += before;
  after_ += after;
  beforeEnds_.push_back(before_.size());
  afterEnds_.push_back(after_.size());
}

std::string_view TextChanges::before(std::size_t i) const {
  const std::size_t start = i == 0 ? 0 : beforeEnds_[i - 1];
  return std::string_view(before_).substr(start, beforeEnds_[i] - start);
}

std::string_view TextChanges::after(std::size_t i) const {
  const std::size_t start = i == 0 ? 0 : afterEnds_[i - 1];
  return std::string_view(after_).substr(start, afterEnds_[i] - start);
}

void TextChanges::revert(EntryStore& store) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) store.edit(slots_[i]).EntryText = before(i);
}

void TextChanges::apply(EntryStore& store) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) store.edit(slots_[i]).EntryText = after(i);
}

std::size_t TextChanges::memoryBytes() const {
  // A string's own buffer is in the object while it is short; counted once either way.
  const auto heap = [](const std::string& s) {
    return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
  };
  return sizeof *this + slots_.capacity() * sizeof(int) +
         (beforeEnds_.capacity() + afterEnds_.capacity()) * sizeof(std::size_t) + heap(before_) +
         heap(after_);
}

void TextChanges::shrink() {
  slots_.shrink_to_fit();
  beforeEnds_.shrink_to_fit();
  afterEnds_.shrink_to_fit();
  before_.shrink_to_fit();
  after_.shrink_to_fit();
}

ReplaceAllResult replaceAll(EntryStore& store, const SearchQuery& query,
                            std::string_view replaceWith) {
  ReplaceAllResult result;
  if (!query.valid()) return result;
  std::string replaced;  // one buffer for every entry's new text
  for (int k = kFirstSearched; k <= kLastEntry; ++k) {
    const std::string& text = textOf(store, k);
    if (text.empty()) continue;
    replaced.clear();
    const std::size_t n = query.replaceAll(text, replaceWith, replaced);
    if (n == 0) continue;
    result.replacements += n;
    result.changes.add(k, text, replaced);
    store.edit(k).EntryText = replaced;
  }
  // The library gave up on an entry: nothing is replaced, the query tells why.
  if (!query.valid()) {
    result.changes.revert(store);
    return {};
  }
  result.changes.shrink();
  return result;
}

std::optional<TextChanges> replaceMatch(EntryStore& store, const SearchQuery& query,
                                        const EntryMatch& m, std::string_view replaceWith) {
  if (m.slot < kFirstSearched || m.slot > kLastEntry) return std::nullopt;
  const std::string& text = textOf(store, m.slot);
  std::optional<std::string> replaced = query.replaced(text, {m.start, m.length}, replaceWith);
  if (!replaced) return std::nullopt;
  TextChanges changes;
  changes.add(m.slot, text, *replaced);
  store.edit(m.slot).EntryText = std::move(*replaced);
  return changes;
}

}  // namespace obrel
