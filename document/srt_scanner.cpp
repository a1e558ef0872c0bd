#include "document/srt_scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "document/entry_store.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Text after the end time, from its first blank on; a tail of blanks alone is nothing.
std::string_view tailOf(std::string_view rest) {
  return rest.find_first_not_of(" \t") == std::string_view::npos ? std::string_view() : rest;
}

// Sets a short part character by character: for two or three bytes a loop is cheaper than
// the library's copy, and a timing line is read for every entry of a file.
void setShort(std::string& part, std::string_view value) {
  part.resize(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) part[i] = value[i];
}

// The timing line of the parts already in timing, and the tail.
void buildLine(TimingLine& timing, std::string_view tail) {
  const auto& p = timing.parts;
  std::size_t size = 11 + tail.size();  // the separators ":", ":", ",", " --> ", ":", ":", ","
  for (const std::string& part : p) size += part.size();
  std::string& line = timing.line;
  line.resize(size);
  char* o = line.data();
  const auto put = [&o](std::string_view piece) {
    for (const char c : piece) *o++ = c;
  };
  put(p[0]), put(":"), put(p[1]), put(":"), put(p[2]), put(","), put(p[3]), put(" --> ");
  put(p[4]), put(":"), put(p[5]), put(":"), put(p[6]), put(","), put(p[7]);
  tail.copy(o, tail.size());
  timing.readable = true;
}

// The standard form's digit places, counted in characters.
constexpr std::array<std::size_t, 15> kDigitPlaces = {0,  1,  3,  4,  6,  7,  9, 10,
                                                      11, 17, 18, 20, 21, 23, 24};

// Whether the first 26 bytes are ASCII, so that each of the first 26 characters is a byte:
// the separators may be any character, but a line of ASCII, as nearly every one is, has
// them a byte each. Eight bytes at a time: a timing line is looked at for every entry.
bool asciiHead(std::string_view line) {
  if (line.size() < 26) return false;
  std::uint64_t a = 0, b = 0, c = 0;
  std::uint16_t d = 0;
  std::memcpy(&a, line.data(), 8);
  std::memcpy(&b, line.data() + 8, 8);
  std::memcpy(&c, line.data() + 16, 8);
  std::memcpy(&d, line.data() + 24, 2);
  return ((a | b | c | d) & 0x8080808080808080ULL) == 0;
}

using Positions = std::array<std::size_t, 27>;

// The positions of a line whose first 26 characters are a byte each.
constexpr Positions kBytePositions = [] {
  Positions at{};
  for (std::size_t k = 0; k < at.size(); ++k) at[k] = k;
  return at;
}();

// Where each of the first 26 characters starts, and what follows them, in a line whose
// head is not ASCII; false when the line has fewer characters.
bool widePositions(std::string_view line, Positions& at) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < 26; ++k) {
    if (pos >= line.size()) return false;
    at[k] = pos;
    utf8::next(line, pos);
  }
  at[26] = pos;
  return true;
}

// Reads the standard form into timing when given; false when the line is not of that form.
bool standardLine(std::string_view line, TimingLine* timing) {
  Positions wide;
  const bool ascii = asciiHead(line);
  if (!ascii && !widePositions(line, wide)) return false;
  const Positions& at = ascii ? kBytePositions : wide;
  for (const std::size_t k : kDigitPlaces) {
    if (!isDigit(line[at[k]])) return false;
  }
  if (!timing) return true;
  // The digits are a byte each.
  static constexpr std::array<std::pair<std::size_t, std::size_t>, 7> kPieces = {
      {{0, 2}, {3, 2}, {6, 2}, {9, 3}, {17, 2}, {20, 2}, {23, 2}}};
  for (std::size_t i = 0; i < kPieces.size(); ++i) {
    setShort(timing->parts[i], line.substr(at[kPieces[i].first], kPieces[i].second));
  }
  const std::string_view rest = line.substr(at[26]);
  const std::size_t blank = rest.find_first_of(" \t");
  const std::string_view millis = rest.substr(0, blank);
  setShort(timing->parts[7], millis.substr(0, utf8::offset(millis, 3)));
  buildLine(*timing,
            blank == std::string_view::npos ? std::string_view() : tailOf(rest.substr(blank)));
  return true;
}

// Reads the variant form left to right.
class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}

  // One to most digits, not followed by another digit, into part widened to most
  // characters with zeros in front.
  bool digits(std::size_t most, std::string& part) {
    const std::size_t from = i_;
    while (i_ < s_.size() && isDigit(s_[i_]) && i_ - from < most) ++i_;
    if (i_ == from || (i_ < s_.size() && isDigit(s_[i_]))) return false;
    part.assign(most - (i_ - from), '0');
    part.append(s_.substr(from, i_ - from));
    return true;
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
    if (!digits(2, parts[0]) || !take(":") || !digits(2, parts[1]) || !take(":") ||
        !digits(2, parts[2])) {
      return false;
    }
    if (take(",") || take(".")) return digits(3, parts[3]);
    parts[3] = "000";
    return true;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

// Reads the variant form into timing's parts, and its line unless only the form is asked
// after; false when the line is not of that form.
bool variantLine(std::string_view line, TimingLine& timing, bool wholeLine) {
  Cursor c(line);
  if (!c.time(&timing.parts[0])) return false;
  c.skipBlanks();
  if (!c.take("-->")) return false;
  c.skipBlanks();
  if (!c.time(&timing.parts[4])) return false;
  const std::string_view rest = c.rest();
  if (!rest.empty() && !isBlank(rest.front())) return false;
  if (wholeLine) buildLine(timing, tailOf(rest));  // the tail may be as long as the file
  return true;
}

}  // namespace

bool readTimingLine(std::string_view line, bool ended, TimingLine& timing) {
  if (line.empty()) return false;
  if (standardLine(line, &timing) || variantLine(line, timing, true)) return true;
  if (!ended) return false;
  for (std::string& part : timing.parts) part.clear();
  timing.line.assign(line);
  timing.readable = false;
  return true;
}

std::optional<int> firstEntryNumber(std::string_view line) {
  const std::string box = utf8::left(line, 4);
  if (box.empty()) return 1;
  const std::optional<std::int16_t> read = readInt16(box);
  if (!read) return std::nullopt;
  const int n = *read;
  const bool whole = box.size() == line.size();
  if (n == 0) return whole ? std::optional<int>(0) : std::nullopt;
  if (n < 1 || n > kLastEntry) return std::nullopt;
  if (whole) return n;
  const NumberReading all = readNumber(line);
  if (all.value) return roundHalfEven(*all.value) == n ? std::optional<int>(n) : std::nullopt;
  // No number as a whole: the box's four characters decide; but a number too large for any
  // entry names none.
  return all.outOfRange ? std::nullopt : std::optional<int>(n);
}

std::optional<long long> numberLineValue(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size() || !isDigit(line[i])) return std::nullopt;
  long long value = 0;
  for (; i < line.size() && isDigit(line[i]); ++i) {
    value = std::min(value * 10 + (line[i] - '0'), kLargestEntryNumber);
  }
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i != line.size()) return std::nullopt;
  return value;
}

bool readsAsTimingLine(std::string_view line, TimingLine& scratch) {
  return standardLine(line, nullptr) || variantLine(line, scratch, false);
}

SrtScanner::SrtScanner(TextReader& in) : in_(in) {}

bool SrtScanner::take(std::string& line, bool& ended) {
  if (peeked_) {
    peeked_ = false;
    line = std::move(ahead_);
    ended = aheadEnded_;
    return true;
  }
  if (in_.atEnd()) return false;
  line = in_.readline();
  ended = in_.lastLineEnded();
  return true;
}

bool SrtScanner::peek() {
  if (peeked_) return true;
  if (in_.atEnd()) return false;
  ahead_ = in_.readline();
  aheadEnded_ = in_.lastLineEnded();
  peeked_ = true;
  return true;
}

bool SrtScanner::first(ScannedEntry& entry) {
  std::string line;
  bool ended = false;
  do {
    if (!take(line, ended)) return false;
  } while (line.empty());
  entry.inTurn = false;
  if (readsAsTimingLine(line, scratch_)) {
    // An entry without a number line: it stands for entry 1.
    readTimingLine(line, ended, entry.timing);
    entry.numberLine.clear();
    entry.numbered = false;
    entry.number = 1;
    entry.broken = false;
    return true;
  }
  std::optional<long long> number = numberLineValue(line);
  if (!number) {
    // Any other line the index box reads as an entry's number, as it always did.
    const std::optional<int> boxNumber = firstEntryNumber(line);
    if (!boxNumber) return false;
    number = *boxNumber;
  }
  entry.numberLine = std::move(line);
  entry.numbered = true;
  entry.inTurn = true;
  entry.number = *number;
  // The line after it is its timing line, readable or not.
  entry.broken = !take(line, ended) || !readTimingLine(line, ended, entry.timing);
  return true;
}

bool SrtScanner::next(ScannedEntry& entry) {
  entry.text.clear();
  entry.last = true;
  if (!started_) {
    started_ = true;
    if (!first(entry)) {
      partial_ = true;
      return false;
    }
  } else {
    if (start_ == Start::None) return false;  // the end of the file, or a broken entry
    entry.numbered = start_ != Start::Unnumbered;
    if (entry.numbered) {
      entry.numberLine = lastLine_;
      entry.number = startNumber_;
      entry.inTurn = startInTurn_;
    } else {
      entry.numberLine.clear();
      entry.number = std::min(number_ + 1, kLargestEntryNumber);
      entry.inTurn = false;
    }
    entry.broken = start_ == Start::BrokenOff ||
                   !readTimingLine(startTimingLine_, startTimingEnded_, entry.timing);
    start_ = Start::None;
  }
  number_ = entry.number;
  blankCount_ = 0;
  if (entry.broken) {
    partial_ = true;
    return true;
  }
  readText(entry);
  return true;
}

SrtScanner::Verdict SrtScanner::startsEntry(std::string& line, bool ended, bool afterEmpty,
                                            int& empties) {
  // Most text lines begin with neither a digit nor a blank: no number line, looked at no
  // further.
  const std::optional<long long> value =
      isDigit(line.front()) || isBlank(line.front()) ? numberLineValue(line) : std::nullopt;
  if (value) {
    const long long next = std::min(number_ + 1, kLargestEntryNumber);
    const auto begin = [&](Start start) {
      start_ = start;
      startNumber_ = *value;
      startInTurn_ = *value == next;
      lastLine_ = std::move(line);
      return Verdict::Begins;
    };
    // Any number directly followed by a timing line.
    if (peek() && readsAsTimingLine(ahead_, scratch_)) {
      take(startTimingLine_, startTimingEnded_);
      return begin(Start::Numbered);
    }
    // The next number after an empty line: the line after it is its timing line, readable
    // or not, as in files whose timing lines cannot be read.
    if (!afterEmpty || line != std::to_string(next)) return Verdict::Text;
    if (!peeked_) return begin(Start::BrokenOff);
    if (!ahead_.empty()) {
      take(startTimingLine_, startTimingEnded_);
      return begin(Start::Numbered);
    }
    // Followed by empty lines: the entry broke off when only empty lines are left, and the
    // number is text when more follows.
    std::string empty;
    bool emptyEnded = false;
    while (peek() && ahead_.empty()) {
      take(empty, emptyEnded);
      ++empties;
    }
    return peeked_ ? Verdict::TextBeforeEmptyLines : begin(Start::BrokenOff);
  }
  if (afterEmpty && readsAsTimingLine(line, scratch_)) {
    start_ = Start::Unnumbered;
    startTimingLine_ = std::move(line);
    startTimingEnded_ = ended;
    lastLine_.clear();
    return Verdict::Begins;
  }
  return Verdict::Text;
}

void SrtScanner::readText(ScannedEntry& entry) {
  // A text line moves into the text rather than being copied (a line can be as long as the
  // file). Empty lines wait until the next line says whether they are text or separators.
  std::string line;
  bool ended = false;
  bool first = true;
  int empties = 0;
  while (take(line, ended)) {
    if (line.empty()) {
      ++empties;
      continue;
    }
    int after = 0;
    const Verdict verdict = startsEntry(line, ended, empties > 0, after);
    if (verdict == Verdict::Begins) break;
    if (first && empties == 0) {
      entry.text = std::move(line);
    } else {
      if (!first) entry.text += "\r\n";
      for (; empties > 0; --empties) entry.text += "\r\n";
      entry.text += line;
    }
    first = false;
    empties = after;
  }
  blankCount_ = std::min<int>(empties, kLargestInt16);
  entry.last = start_ == Start::None;
}

}  // namespace obrel
