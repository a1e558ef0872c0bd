#pragma once
// One search of Find and Replace, compiled once and run over any number of entry texts. A
// text is an entry's lines joined by CR LF: ^ and $ match at each line, '.' matches no line
// break, and a match never reaches past the text it is run on. Empty matches are never
// found. Texts may hold malformed UTF-8: a match never includes a malformed byte.
// Positions are byte offsets into the text.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace obrel {

struct SearchOptions {
  // Off: letters match regardless of case, by simple Unicode case folding (one character to
  // one: É matches é, Σ matches ς, ß does not match SS).
  bool matchCase = false;
  // No letter, digit or underscore (nor a combining mark) directly before or after a match.
  bool wholeWords = false;
  // On: the find text is an expression (PCRE2, Unicode properties) and the replacement may
  // use $0 to $9; off: both are taken literally.
  bool regularExpression = false;
};

struct TextMatch {
  std::size_t start = 0;   // in bytes
  std::size_t length = 0;  // in bytes, never 0
  bool operator==(const TextMatch&) const = default;
};

class SearchQuery {
 public:
  // Compiles the search. An expression that cannot be compiled makes an invalid query that
  // finds nothing; nothing throws.
  SearchQuery(std::string_view findWhat, SearchOptions options);
  ~SearchQuery();
  SearchQuery(SearchQuery&&) noexcept;
  SearchQuery& operator=(SearchQuery&&) noexcept;

  // False for an expression that does not compile, and from the first search on which the
  // library gave up (its match limit, reached by runaway backtracking): such a search finds
  // nothing from then on, and error() tells why rather than a wrong "cannot find".
  bool valid() const { return error_.empty(); }
  // "The regular expression is not valid: REASON" when not valid, else empty.
  const std::string& error() const { return error_; }
  const SearchOptions& options() const { return options_; }

  // The first match starting at or after byte from (the text before from still counts for
  // whole words and look-behinds). A query is not to be used by two threads at once.
  std::optional<TextMatch> next(std::string_view text, std::size_t from = 0) const;
  // The last match starting before byte before, of the matches found from the text's start,
  // each search resuming at the end of the one before.
  std::optional<TextMatch> previous(std::string_view text, std::size_t before) const;

  // text with match m replaced by replaceWith; nothing when m is no longer a match of text,
  // as after the text changed. For an expression, $0 to $9 in replaceWith are the groups (one
  // the expression lacks, or that took no part, is empty), $$ is a dollar sign, and any other
  // $ stands for itself; otherwise replaceWith is taken as it is.
  std::optional<std::string> replaced(std::string_view text, TextMatch m,
                                      std::string_view replaceWith) const;
  // Replaces every match of text, found from its start as previous() finds them, appending
  // the result to out; returns how many there were (out is left alone when none). Should
  // the query turn invalid on text, out holds only part of it.
  std::size_t replaceAll(std::string_view text, std::string_view replaceWith,
                         std::string& out) const;

 private:
  struct Compiled;
  // A match at or after from (anchored: exactly at from), its groups left in the match data.
  std::optional<TextMatch> match(std::string_view text, std::size_t from, bool anchored) const;
  // Appends the replacement of the last match of text.
  void appendReplacement(std::string_view text, std::string_view replaceWith,
                         std::string& out) const;

  SearchOptions options_;
  std::unique_ptr<Compiled> compiled_;
  mutable std::string error_;
};

}  // namespace obrel
