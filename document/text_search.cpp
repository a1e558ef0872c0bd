#include "document/text_search.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

namespace obrel {

namespace {

// Letters, marks, digits and the underscore: what may not touch a whole word.
constexpr std::string_view kWordBefore = "(?<![\\p{L}\\p{M}\\p{N}_])(?:";
constexpr std::string_view kWordAfter = ")(?![\\p{L}\\p{M}\\p{N}_])";

// The find text as an expression matching exactly itself.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    // Every ASCII punctuation character is escaped; a backslash before one always means the
    // character itself, and letters, digits, blanks and all other bytes stand for themselves.
    if (u > 0x20 && u < 0x7F && !std::isalnum(u)) out += '\\';
    out += c;
  }
  return out;
}

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct ContextDeleter {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
using Code = std::unique_ptr<pcre2_code, CodeDeleter>;

// The compiled pattern, or the library's reason why it cannot be.
struct Compilation {
  Code code;
  std::string reason;
};

std::string messageOf(int error) {
  PCRE2_UCHAR message[256];
  const int length = pcre2_get_error_message(error, message, sizeof message);
  return length > 0 ? std::string(reinterpret_cast<const char*>(message), length)
                    : "error " + std::to_string(error);
}

Compilation compile(const std::string& pattern, bool matchCase) {
  const std::unique_ptr<pcre2_compile_context, ContextDeleter> context(
      pcre2_compile_context_create(nullptr));
  // A stored text's lines end in CR LF, a typed or pasted one's may end in either alone.
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
  // \C could match half a character and give offsets inside one.
  std::uint32_t options =
      PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP | PCRE2_MULTILINE | PCRE2_NEVER_BACKSLASH_C;
  if (!matchCase) options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                          &error, &errorOffset, context.get()));
  if (code) return {std::move(code), {}};
  return {nullptr, messageOf(error)};
}

}  // namespace

struct SearchQuery::Compiled {
  Code code;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data;
};

SearchQuery::SearchQuery(std::string_view findWhat, SearchOptions options) : options_(options) {
  const std::string pattern = options.regularExpression ? std::string(findWhat) : escaped(findWhat);
  Compilation c = compile(pattern, options.matchCase);
  if (c.code && options.wholeWords) {
    // The expression compiles alone, so its parentheses balance and it cannot close the group
    // it is put in; but an unended \Q or a comment of (?x) would swallow the group's end:
    // \E ends the one, a line break the other (and \E alone is nothing).
    const auto wrapped = [&](std::string_view end) {
      return std::string(kWordBefore) + pattern + std::string(end) + std::string(kWordAfter);
    };
    c = compile(wrapped("\\E"), options.matchCase);
    if (!c.code) c = compile(wrapped("\n"), options.matchCase);
  }
  if (!c.code) {
    error_ = "The regular expression is not valid: " + c.reason;
    return;
  }
  // Machine code when the system allows it; the interpreter otherwise.
  pcre2_jit_compile(c.code.get(), PCRE2_JIT_COMPLETE);
  compiled_ = std::make_unique<Compiled>();
  compiled_->data.reset(pcre2_match_data_create_from_pattern(c.code.get(), nullptr));
  compiled_->code = std::move(c.code);
}

SearchQuery::~SearchQuery() = default;
SearchQuery::SearchQuery(SearchQuery&&) noexcept = default;
SearchQuery& SearchQuery::operator=(SearchQuery&&) noexcept = default;

std::optional<TextMatch> SearchQuery::match(std::string_view text, std::size_t from,
                                            bool anchored) const {
  if (!valid()) return std::nullopt;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  const PCRE2_SIZE* const ovector = pcre2_get_ovector_pointer(compiled_->data.get());
  while (from <= text.size()) {
    const int rc = pcre2_match(compiled_->code.get(), subject, text.size(), from,
                               PCRE2_NOTEMPTY | (anchored ? PCRE2_ANCHORED : 0),
                               compiled_->data.get(), nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) return std::nullopt;
    if (rc < 0) {
      error_ = "The regular expression is not valid: " + messageOf(rc);
      return std::nullopt;
    }
    if (ovector[1] > ovector[0]) return TextMatch{ovector[0], ovector[1] - ovector[0]};
    // Empty despite PCRE2_NOTEMPTY (\K can make it so): look again further on.
    if (anchored) return std::nullopt;
    from = std::max(ovector[1], from) + 1;
  }
  return std::nullopt;
}

std::optional<TextMatch> SearchQuery::next(std::string_view text, std::size_t from) const {
  return match(text, from, false);
}

std::optional<TextMatch> SearchQuery::previous(std::string_view text, std::size_t before) const {
  std::optional<TextMatch> last;
  std::size_t from = 0;
  while (const auto m = match(text, from, false)) {
    if (m->start >= before) break;
    last = m;
    from = m->start + m->length;
  }
  return last;
}

void SearchQuery::appendReplacement(std::string_view text, std::string_view replaceWith,
                                    std::string& out) const {
  if (!options_.regularExpression) {
    out += replaceWith;
    return;
  }
  const PCRE2_SIZE* const ovector = pcre2_get_ovector_pointer(compiled_->data.get());
  const std::uint32_t groups = pcre2_get_ovector_count(compiled_->data.get());
  for (std::size_t i = 0; i < replaceWith.size(); ++i) {
    const char c = replaceWith[i];
    if (c != '$' || i + 1 == replaceWith.size()) {
      out += c;
    } else if (replaceWith[i + 1] == '$') {
      out += '$';
      ++i;
    } else if (replaceWith[i + 1] >= '0' && replaceWith[i + 1] <= '9') {
      // A group the expression lacks, or one that took no part in the match, is empty.
      const std::uint32_t group = replaceWith[i + 1] - '0';
      if (group < groups && ovector[2 * group] != PCRE2_UNSET &&
          ovector[2 * group + 1] >= ovector[2 * group]) {
        out += text.substr(ovector[2 * group], ovector[2 * group + 1] - ovector[2 * group]);
      }
      ++i;
    } else {
      out += '$';
    }
  }
}

std::optional<std::string> SearchQuery::replaced(std::string_view text, TextMatch m,
                                                 std::string_view replaceWith) const {
  if (m.start > text.size() || match(text, m.start, true) != m) return std::nullopt;
  std::string out;
  out.reserve(text.size() + replaceWith.size());
  out += text.substr(0, m.start);
  appendReplacement(text, replaceWith, out);
  out += text.substr(m.start + m.length);
  return out;
}

std::size_t SearchQuery::replaceAll(std::string_view text, std::string_view replaceWith,
                                    std::string& out) const {
  std::size_t count = 0;
  std::size_t done = 0;  // the bytes of text already in out
  const std::size_t outStart = out.size();
  while (const auto m = match(text, done, false)) {
    if (count == 0) out.reserve(outStart + text.size() + replaceWith.size());
    out += text.substr(done, m->start - done);
    appendReplacement(text, replaceWith, out);
    done = m->start + m->length;
    ++count;
  }
  if (count > 0) out += text.substr(done);
  return count;
}

}  // namespace obrel
