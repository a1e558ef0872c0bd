#include "document/srt_scanner.h"

#include <utility>

#include "document/entry_store.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

// The last entry number the index box can show.
constexpr int kLastEntry = 9999;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Text after the end time, from its first blank on; a tail of blanks alone is nothing.
std::string tailOf(std::string_view rest) {
  return rest.find_first_not_of(" \t") == std::string_view::npos ? std::string() : std::string(rest);
}

TimingLine fromParts(std::array<std::string, 8> parts, std::string_view tail) {
  TimingLine timing;
  timing.line = timingLine(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5],
                           parts[6], parts[7]);
  timing.line += tail;
  timing.parts = std::move(parts);
  return timing;
}

std::optional<TimingLine> standardLine(std::string_view line) {
  // Where each of the first 26 characters starts; the separators may be any character.
  std::array<std::size_t, 27> at{};
  std::size_t pos = 0;
  for (std::size_t k = 0; k < 26; ++k) {
    if (pos >= line.size()) return std::nullopt;
    at[k] = pos;
    utf8::next(line, pos);
  }
  at[26] = pos;
  for (const std::size_t k : {0, 1, 3, 4, 6, 7, 9, 10, 11, 17, 18, 20, 21, 23, 24}) {
    if (!isDigit(line[at[k]])) return std::nullopt;
  }
  // The digits are a byte each.
  const auto piece = [&](std::size_t k, std::size_t n) { return std::string(line.substr(at[k], n)); };
  const std::string_view rest = line.substr(at[26]);
  const std::size_t blank = rest.find_first_of(" \t");
  const std::string_view millis = rest.substr(0, blank);
  return fromParts({piece(0, 2), piece(3, 2), piece(6, 2), piece(9, 3), piece(17, 2), piece(20, 2),
                    piece(23, 2), utf8::left(millis, 3)},
                   blank == std::string_view::npos ? std::string() : tailOf(rest.substr(blank)));
}

// Reads the variant form left to right.
class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}

  // One to most digits, not followed by another digit, widened to width with zeros in front.
  std::optional<std::string> digits(std::size_t most, std::size_t width) {
    const std::size_t from = i_;
    while (i_ < s_.size() && isDigit(s_[i_]) && i_ - from < most) ++i_;
    if (i_ == from || (i_ < s_.size() && isDigit(s_[i_]))) return std::nullopt;
    const std::size_t n = i_ - from;
    return std::string(width - n, '0') + std::string(s_.substr(from, n));
  }
  bool take(std::string_view what) {
    if (!s_.substr(i_).starts_with(what)) return false;
    i_ += what.size();
    return true;
  }
  void skipBlanks() {
    while (i_ < s_.size() && isBlank(s_[i_])) ++i_;
  }
  std::string_view rest() const { return s_.substr(i_); }

  // H:M:S with an optional "," or "." and milliseconds, into four parts.
  bool time(std::string* parts) {
    std::optional<std::string> h, m, s;
    if (!(h = digits(2, 2)) || !take(":") || !(m = digits(2, 2)) || !take(":") || !(s = digits(2, 2))) {
      return false;
    }
    std::optional<std::string> millis = "000";
    if (take(",") || take(".")) millis = digits(3, 3);
    if (!millis) return false;
    parts[0] = std::move(*h);
    parts[1] = std::move(*m);
    parts[2] = std::move(*s);
    parts[3] = std::move(*millis);
    return true;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

std::optional<TimingLine> variantLine(std::string_view line) {
  std::array<std::string, 8> parts;
  Cursor c(line);
  if (!c.time(&parts[0])) return std::nullopt;
  c.skipBlanks();
  if (!c.take("-->")) return std::nullopt;
  c.skipBlanks();
  if (!c.time(&parts[4])) return std::nullopt;
  const std::string_view rest = c.rest();
  if (!rest.empty() && !isBlank(rest.front())) return std::nullopt;
  return fromParts(std::move(parts), tailOf(rest));
}

}  // namespace

std::optional<TimingLine> readTimingLine(std::string_view line, bool ended) {
  if (line.empty()) return std::nullopt;
  if (std::optional<TimingLine> timing = standardLine(line)) return timing;
  if (std::optional<TimingLine> timing = variantLine(line)) return timing;
  if (!ended) return std::nullopt;
  TimingLine unreadable;
  unreadable.line = line;
  unreadable.readable = false;
  return unreadable;
}

std::optional<int> firstEntryNumber(std::string_view line) {
  const std::string box = utf8::left(line, 4);
  if (box.empty()) return 1;
  int n = 0;
  try {
    n = readInt16(box);
  } catch (const Failure&) {
    return std::nullopt;
  }
  const bool whole = box.size() == line.size();
  if (n == 0) return whole ? std::optional<int>(0) : std::nullopt;
  if (n < 1 || n > kLastEntry) return std::nullopt;
  if (whole) return n;
  try {
    return roundHalfEven(readNumber(line)) == n ? std::optional<int>(n) : std::nullopt;
  } catch (const TypeMismatch&) {
    return n;  // no number as a whole: the box's four characters decide
  } catch (const Failure&) {
    return std::nullopt;  // a number too large for any entry
  }
}

SrtScanner::SrtScanner(TextReader& in) : in_(in) {}

std::optional<ScannedEntry> SrtScanner::next() {
  ScannedEntry entry;
  if (!started_) {
    started_ = true;
    if (in_.atEnd()) return std::nullopt;
    entry.numberLine = in_.readline();
    const std::optional<int> number = firstEntryNumber(entry.numberLine);
    if (!number) {
      partial_ = true;
      return std::nullopt;
    }
    entry.number = *number;
  } else {
    if (!nextFound_) return std::nullopt;  // the end of the file
    nextFound_ = false;
    entry.number = number_ + 1;
    entry.numberLine = lastLine_;
  }
  number_ = entry.number;
  blankCount_ = 0;

  // The timing line; an entry without one breaks off the reading.
  std::optional<TimingLine> timing;
  if (!in_.atEnd()) {
    const std::string line = in_.readline();
    timing = readTimingLine(line, in_.lastLineEnded());
  }
  if (!timing) {
    partial_ = true;
    entry.broken = true;
    entry.last = true;
    return entry;
  }
  entry.timing = std::move(*timing);

  // Text lines up to the first empty line. A text line moves into the text rather than
  // being copied (a line can be as long as the file), so lastLine_ keeps the last line
  // read that was no text.
  const std::string next = std::to_string(entry.number + 1);
  bool first = true;
  while (!nextFound_ && !in_.atEnd()) {
    lastLine_ = in_.readline();
    if (lastLine_.empty()) {
      if (blankCount_ < 32767) ++blankCount_;
    } else if (lastLine_ == next) {
      nextFound_ = true;
    } else if (blankCount_ == 0) {
      if (first) {
        entry.text = std::move(lastLine_);
      } else {
        entry.text += "\r\n";
        entry.text += lastLine_;
      }
      std::string().swap(lastLine_);  // lets its buffer go, as assigning "" would not
      first = false;
    } else {
      partial_ = true;  // a line after the entry's empty line
    }
  }
  entry.last = !nextFound_;
  return entry;
}

}  // namespace obrel
