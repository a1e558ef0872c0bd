// Find and Replace: what a search matches and what a replacement makes, over single texts
// and the whole store.
#include "document/text_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/store_search.h"

namespace obrel {
namespace {

constexpr SearchOptions kPlain{};
constexpr SearchOptions kCase{.matchCase = true};
constexpr SearchOptions kWords{.wholeWords = true};
constexpr SearchOptions kRegex{.regularExpression = true};
constexpr SearchOptions kRegexWords{.wholeWords = true, .regularExpression = true};

// text with each match, found from the start as Replace All finds them, in brackets.
std::string marked(const SearchQuery& q, const std::string& text) {
  std::string out;
  std::size_t done = 0;
  while (const auto m = q.next(text, done)) {
    out += text.substr(done, m->start - done) + "[" + text.substr(m->start, m->length) + "]";
    done = m->start + m->length;
  }
  return out + text.substr(done);
}

struct MatchCase {
  const char* what;
  std::string find;
  SearchOptions options;
  std::string text;
  std::string matches;  // the text with every match in brackets
};

TEST(TextSearch, WhatMatches) {
  const MatchCase cases[] = {
      {"case ignored", "cat", kPlain, "Cat catalog CAT", "[Cat] [cat]alog [CAT]"},
      {"case matched", "cat", kCase, "Cat catalog CAT", "Cat [cat]alog CAT"},
      {"accented capitals fold", "é", kPlain, "É é e", "[É] [é] e"},
      {"final sigma folds", "σ", kPlain, "Σ σ ς", "[Σ] [σ] [ς]"},
      {"Cyrillic folds", "привет", kPlain, "ПРИВЕТ", "[ПРИВЕТ]"},
      {"sharp s folds one to one only", "ß", kPlain, "SS ss ß ẞ", "SS ss [ß] [ẞ]"},
      {"SS is not sharp s", "ss", kPlain, "ß", "ß"},
      {"case matched, non-ASCII", "é", kCase, "É é", "É [é]"},
      {"literal punctuation", "a.b*(c)$1", kPlain, "a.b*(c)$1 axb", "[a.b*(c)$1] axb"},
      {"literal backslash", "\\d", kPlain, "5 \\d", "5 [\\d]"},
      {"literal across the line break", "a\r\nb", kPlain, "a\r\nb", "[a\r\nb]"},
      {"whole words", "cat", kWords, "cat cats concat cat_x cat1 (cat) écat",
       "[cat] cats concat cat_x cat1 ([cat]) écat"},
      {"whole words, non-ASCII", "été", kWords, "été étés Été", "[été] étés [Été]"},
      {"whole words, a combining mark continues the word", "cafe", kWords, "cafe\xCC\x81 cafe",
       "cafe\xCC\x81 [cafe]"},
      {"whole words by expression", "ca(t|ts)", kRegexWords, "cat cats catx", "[cat] [cats] catx"},
      {"expression alternatives", "cat|category", kRegexWords, "category", "[category]"},
      {"whole words after an unended \\Q", "\\Qa.b", kRegexWords, "a.b a.bc", "[a.b] a.bc"},
      {"whole words after a (?x) comment", "(?x) c a t # spaced", kRegexWords, "cat cats",
       "[cat] cats"},
      {"groups", "(\\w+)@(\\w+)", kRegex, "mail a@b now", "mail [a@b] now"},
      {"^ at each line", "^b", kRegex, "ab\r\nbc\nb", "ab\r\n[b]c\n[b]"},
      {"$ at each line", "a$", kRegex, "xa\r\nya", "x[a]\r\ny[a]"},
      {"dot stops at a line break", "a.b", kRegex, "a\r\nb axb a\nb", "a\r\nb [axb] a\nb"},
      {"dot-plus runs to the line end", ".+", kRegex, "ab\r\ncd", "[ab]\r\n[cd]"},
      {"Unicode properties", "\\p{Lu}\\w+", kRegex, "élan Élan 5a", "élan [Élan] 5a"},
      {"\\d is any digit", "\\d+", kRegex, "x١٢٣y", "x[١٢٣]y"},
      {"malformed bytes are skipped", "ab", kPlain, "a\377b ab", "a\377b [ab]"},
      {"nothing matches a malformed byte", "a.b", kRegex, "a\377b", "a\377b"},
      {"a malformed byte is no letter", "b", kWords, "\377b", "\xFF[b]"},
      {"empty matches are skipped", "x*", kRegex, "axxb", "a[xx]b"},
      {"only empty matches", "^|\\b", kRegex, "ab cd", "ab cd"},
      {"empty find text", "", kPlain, "abc", "abc"},
  };
  for (const MatchCase& c : cases) {
    const SearchQuery q(c.find, c.options);
    ASSERT_TRUE(q.valid()) << c.what << ": " << q.error();
    EXPECT_EQ(marked(q, c.text), c.matches) << c.what;
  }
}

TEST(TextSearch, InvalidExpressionsGiveTheLibrarysReason) {
  const std::pair<SearchOptions, const char*> invalid[] = {{kRegex, "("}, {kRegexWords, "("}};
  for (const auto& [options, find] : invalid) {
    const SearchQuery q(find, options);
    EXPECT_FALSE(q.valid());
    EXPECT_EQ(q.error(), "The regular expression is not valid: missing closing parenthesis");
    EXPECT_EQ(q.next("(((", 0), std::nullopt);
  }
  EXPECT_EQ(SearchQuery("a{2,1}", kRegex).error(),
            "The regular expression is not valid: numbers out of order in {} quantifier");
  EXPECT_TRUE(SearchQuery("(", kPlain).valid());
  EXPECT_TRUE(SearchQuery("\\", kWords).valid());
}

TEST(TextSearch, NextAndPreviousFromAPlace) {
  const SearchQuery q("aa", kPlain);
  const std::string text = "aaa aa";
  EXPECT_EQ(q.next(text, 0), (TextMatch{0, 2}));
  EXPECT_EQ(q.next(text, 1), (TextMatch{1, 2}));  // a match may start inside the last one
  EXPECT_EQ(q.next(text, 5), std::nullopt);
  EXPECT_EQ(q.previous(text, 6), (TextMatch{4, 2}));
  EXPECT_EQ(q.previous(text, 4), (TextMatch{0, 2}));
  EXPECT_EQ(q.previous(text, 0), std::nullopt);
  // Whole words look before the starting place.
  EXPECT_EQ(SearchQuery("at", kWords).next("cat at", 1), (TextMatch{4, 2}));
}

struct ReplaceCase {
  std::string find;
  SearchOptions options;
  std::string replaceWith;
  std::string text;
  std::string result;
};

TEST(TextSearch, Replacements) {
  const ReplaceCase cases[] = {
      {"(\\w+) (\\w+)", kRegex, "$2 $1", "hello world", "world hello"},
      {"(a)(b)", kRegex, "<$0|$$|$x|$|$10|$9>", "ab", "<ab|$|$x|$|a0|>"},
      {"(a)|(b)", kRegex, "[$1/$2]", "ab", "[a/][/b]"},
      {"a", kPlain, "$1$$\\0", "bab", "b$1$$\\0b"},
      {"é", kPlain, "E", "Été été", "EtE EtE"},
      {"^", kRegex, "x", "ab", "ab"},
      {"(?m)$", kRegex, "x", "ab", "ab"},
      {"a.", kRegex, "-", "a\r\nab\377a", "a\r\n-\377a"},
  };
  for (const ReplaceCase& c : cases) {
    const SearchQuery q(c.find, c.options);
    std::string out = "kept:";
    const std::size_t n = q.replaceAll(c.text, c.replaceWith, out);
    EXPECT_EQ(n == 0 ? "kept:" + c.text : out, "kept:" + c.result) << c.find << " " << c.text;
  }
  const SearchQuery q("(\\w)(\\w)", kRegex);
  EXPECT_EQ(q.replaced("ab cd", {3, 2}, "$2$1"), "ab dc");
  EXPECT_EQ(q.replaced("ab cd", {2, 2}, "$2$1"), std::nullopt);  // no longer a match
  EXPECT_EQ(q.replaced("ab cd", {3, 1}, "$2$1"), std::nullopt);
  EXPECT_EQ(q.replaced("ab", {5, 2}, "x"), std::nullopt);
}

// The whole store as values, to compare before and after.
std::vector<Entry> everySlot(const EntryStore& store) {
  std::vector<Entry> slots;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) slots.push_back(store.at(k));
  return slots;
}

// The slots where store differs from slots, for a short message.
std::vector<int> differing(const EntryStore& store, const std::vector<Entry>& slots) {
  std::vector<int> found;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    if (store.at(k) != slots[k]) found.push_back(k);
  }
  return found;
}

EntryStore storeOf(const std::vector<std::pair<int, std::string>>& texts) {
  EntryStore store;
  for (const auto& [slot, text] : texts) {
    Entry& e = store.edit(slot);
    e.EntryText = text;
    e.EntryTiming = "00:00:0" + std::to_string(slot % 10) + ",000 --> 00:00:09,000";
  }
  return store;
}

TEST(StoreSearch, NextAndPreviousWrapRoundOnce) {
  const EntryStore store = storeOf(
      {{0, "cat in slot 0"}, {1, "cat"}, {3, "a cat, a cat"}, {9999, "cat"}, {10000, "cat"}});
  const SearchQuery q("cat", kPlain);
  const auto walk = [&](SearchPosition from, bool forward) {
    std::string order;
    for (int n = 0; n < 5; ++n) {
      const auto m = forward ? findNext(store, q, from) : findPrevious(store, q, from);
      if (!m) return order + "none";
      order += std::to_string(m->slot) + ":" + std::to_string(m->start) + " ";
      from = forward ? m->after() : m->before();
    }
    return order;
  };
  EXPECT_EQ(walk({3, 4}, true), "3:9 9999:0 1:0 3:2 3:9 ");
  EXPECT_EQ(walk({3, 4}, false), "3:2 1:0 9999:0 3:9 3:2 ");
  // Slots outside 1..9999 start from the nearest end.
  EXPECT_EQ(walk({0, 0}, true), "1:0 3:2 3:9 9999:0 1:0 ");
  EXPECT_EQ(walk({10000, 0}, false), "9999:0 3:9 3:2 1:0 9999:0 ");

  // The only match is found again from its own end, and from inside itself.
  const EntryStore one = storeOf({{5, "x cat"}});
  const EntryMatch only{5, 2, 3, 2, 3};
  EXPECT_EQ(findNext(one, q, only.after()), only);
  EXPECT_EQ(findNext(one, q, {5, 3}), only);
  EXPECT_EQ(findPrevious(one, q, only.before()), only);
  EXPECT_EQ(findNext(one, SearchQuery("dog", kPlain), {5, 0}), std::nullopt);
  EXPECT_EQ(findNext(one, SearchQuery("(", kRegex), {5, 0}), std::nullopt);
  EXPECT_EQ(findNext(EntryStore(), q, {1, 0}), std::nullopt);
}

TEST(StoreSearch, PlacesInCharacters) {
  const EntryStore store = storeOf({{2, "Ça\r\nva, ça va"}});
  const SearchQuery q("ça", kPlain);
  // The caret after "Ça\r\n" (four characters, five bytes).
  const SearchPosition caret = positionAtCharacter(store, 2, 4);
  EXPECT_EQ(caret, (SearchPosition{2, 5}));
  EXPECT_EQ(findNext(store, q, caret), (EntryMatch{2, 9, 3, 8, 2}));
  EXPECT_EQ(positionAtCharacter(store, 2, 99), (SearchPosition{2, 15}));
  EXPECT_EQ(positionAtCharacter(store, 12000, 3), (SearchPosition{9999, 0}));
}

TEST(StoreSearch, ReplaceAllAndItsChangesExactToTheByte) {
  EntryStore store = storeOf({{0, "cat stays in slot 0"},
                              {1, "Cat\r\ncat"},
                              {2, "no match"},
                              {3, "a cat\377cat"},
                              {9999, "CAT"},
                              {10000, "cat stays in slot 10000"}});
  store.edit(4).StartHours = "01";  // a slot without text
  const std::vector<Entry> before = everySlot(store);

  const auto [count, changes] = replaceAll(store, SearchQuery("cat", kPlain), "dog");
  EXPECT_EQ(count, 5u);
  std::vector<Entry> expected = before;
  expected[1].EntryText = "dog\r\ndog";
  expected[3].EntryText = "a dog\377dog";
  expected[9999].EntryText = "dog";
  EXPECT_EQ(differing(store, expected), std::vector<int>{});
  EXPECT_EQ(changes.changedSlots(), (std::vector<int>{1, 3, 9999}));
  EXPECT_EQ(changes.before(1), "a cat\377cat");
  EXPECT_EQ(changes.after(2), "dog");
  EXPECT_GE(changes.memoryBytes(), sizeof changes + 3 * sizeof(int) + 20);
  EXPECT_LT(changes.memoryBytes(), sizeof changes + 200);

  // Later edits of other values of the slots survive the undo and the redo.
  store.edit(1).EndMillis = "999";
  expected[1].EndMillis = "999";
  changes.revert(store);
  std::vector<Entry> reverted = before;
  reverted[1].EndMillis = "999";
  EXPECT_EQ(differing(store, reverted), std::vector<int>{});
  changes.apply(store);
  EXPECT_EQ(differing(store, expected), std::vector<int>{});

  const std::uint64_t revision = store.revision();
  const ReplaceAllResult none = replaceAll(store, SearchQuery("cat", kPlain), "dog");
  EXPECT_EQ(none.replacements, 0u);
  EXPECT_TRUE(none.changes.empty());
  EXPECT_EQ(store.revision(), revision);
}

// Runaway backtracking: the library gives up on the second entry after the first was
// replaced, and Replace All changes nothing, the query telling why.
TEST(StoreSearch, ASearchTheLibraryGivesUpOnChangesNothing) {
  EntryStore store = storeOf({{1, "x"}, {2, std::string(30, 'a') + "b"}});
  const std::vector<Entry> before = everySlot(store);
  const SearchQuery q("(a+)+$|x", kRegex);
  const ReplaceAllResult result = replaceAll(store, q, "y");
  EXPECT_EQ(result.replacements, 0u);
  EXPECT_TRUE(result.changes.empty());
  EXPECT_EQ(differing(store, before), std::vector<int>{});
  EXPECT_EQ(q.error(), "The regular expression is not valid: match limit exceeded");
  EXPECT_EQ(findNext(store, q, {1, 0}), std::nullopt);
}

TEST(StoreSearch, ReplaceOneMatch) {
  EntryStore store = storeOf({{7, "one two one"}});
  const SearchQuery q("(o)ne", {.matchCase = true, .regularExpression = true});
  const auto m = findNext(store, q, {7, 1});
  ASSERT_TRUE(m);
  const auto changes = replaceMatch(store, q, *m, "$1NE");
  ASSERT_TRUE(changes);
  EXPECT_EQ(store.at(7).EntryText, "one two oNE");
  // The same match again is stale: its text has changed.
  EXPECT_EQ(replaceMatch(store, q, *m, "x"), std::nullopt);
  changes->revert(store);
  EXPECT_EQ(store.at(7).EntryText, "one two one");
}

}  // namespace
}  // namespace obrel
