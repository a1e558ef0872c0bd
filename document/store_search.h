#pragma once
// Find Next, Find Previous, Replace and Replace All over the stored entry texts of slots 1
// to 9999 (kLastEntry), each text searched on its own, so no match spans two entries.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/entry_store.h"
#include "document/text_search.h"

namespace obrel {

// A place in the store: a slot and a byte offset into its text.
struct SearchPosition {
  int slot = 1;
  std::size_t offset = 0;
  bool operator==(const SearchPosition&) const = default;
};

// The place of character characters (as TextBox counts its caret) of slot's stored text;
// the text's end when it has fewer. A slot outside 1..9999 is taken as the nearest of them.
SearchPosition positionAtCharacter(const EntryStore& store, int slot, std::size_t characters);

struct EntryMatch {
  int slot = 0;
  std::size_t start = 0;   // bytes into the slot's text
  std::size_t length = 0;  // bytes, never 0
  // The same in characters, as TextBox counts its caret and selection: select the match in
  // a box showing the stored text with these.
  std::size_t startCharacters = 0;
  std::size_t lengthCharacters = 0;

  // Where the next Find Next / Find Previous from this match starts.
  SearchPosition after() const { return {slot, start + length}; }
  SearchPosition before() const { return {slot, start}; }
  bool operator==(const EntryMatch&) const = default;
};

// The first match at or after from, going on through slots up to 9999, then round from slot 1
// once, and ending at from itself (a match that starts before from.offset in from.slot is the
// last one looked at, so the only match there is is found again). Nothing when no entry has a
// match or the query is or turns invalid (then its error() says why).
std::optional<EntryMatch> findNext(const EntryStore& store, const SearchQuery& query,
                                   SearchPosition from);
// As findNext, backwards: the last match starting before from, going down to slot 1, round
// from 9999, ending with the matches of from.slot starting at or after from.offset.
std::optional<EntryMatch> findPrevious(const EntryStore& store, const SearchQuery& query,
                                       SearchPosition from);

// The stored texts a Replace or Replace All changed, before and after, packed in two strings:
// enough to take the change back and to make it again, exact to the byte.
class TextChanges {
 public:
  // Records that slot's text went from before to after.
  void add(int slot, std::string_view before, std::string_view after);

  // Puts the texts back as they were before the change / as they were after it. The other
  // values of the slots are left as they are.
  void revert(EntryStore& store) const;
  void apply(EntryStore& store) const;

  bool empty() const { return slots_.empty(); }
  // The slots changed, in increasing order when added so.
  const std::vector<int>& changedSlots() const { return slots_; }
  // Slot changedSlots()[i]'s text before / after the change.
  std::string_view before(std::size_t i) const;
  std::string_view after(std::size_t i) const;

  // The bytes this record holds, itself included, for a history's limit.
  std::size_t memoryBytes() const;
  // Gives back what the strings and vectors reserved beyond their contents.
  void shrink();

 private:
  std::vector<int> slots_;
  // Where each slot's text ends in before_ / after_ (it starts where the one before ends).
  std::vector<std::size_t> beforeEnds_;
  std::vector<std::size_t> afterEnds_;
  std::string before_;
  std::string after_;
};

struct ReplaceAllResult {
  std::size_t replacements = 0;
  TextChanges changes;  // empty, the store untouched, when nothing matched
};

// Replaces every match in the text of every slot 1..9999 (in each, the matches found from its
// start, each search resuming after the one before) and returns how many, with the changes.
// When the query is or turns invalid (see SearchQuery::valid) nothing is replaced.
ReplaceAllResult replaceAll(EntryStore& store, const SearchQuery& query,
                            std::string_view replaceWith);

// Replaces match m in its slot's text; nothing, the store untouched, when m is not a match of
// the stored text any more (or the query turned invalid on it).
std::optional<TextChanges> replaceMatch(EntryStore& store, const SearchQuery& query,
                                        const EntryMatch& m, std::string_view replaceWith);

}  // namespace obrel
