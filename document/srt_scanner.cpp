#include "document/srt_scanner.h"

#include <algorithm>
#include <utility>

#include "document/entry_store.h"
#include "platform/failure.h"
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

bool standardLine(std::string_view line, TimingLine& timing) {
  // Where each of the first 26 characters starts; the separators may be any character, but
  // a line of ASCII, as nearly every one is, has them a byte each.
  std::array<std::size_t, 27> at{};
  if (line.size() >= 26 && std::all_of(line.begin(), line.begin() + 26, [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
      })) {
    for (std::size_t k = 0; k < at.size(); ++k) at[k] = k;
  } else {
    std::size_t pos = 0;
    for (std::size_t k = 0; k < 26; ++k) {
      if (pos >= line.size()) return false;
      at[k] = pos;
      utf8::next(line, pos);
    }
    at[26] = pos;
  }
  for (const std::size_t k : {0, 1, 3, 4, 6, 7, 9, 10, 11, 17, 18, 20, 21, 23, 24}) {
    if (!isDigit(line[at[k]])) return false;
  }
  // The digits are a byte each.
  static constexpr std::array<std::pair<std::size_t, std::size_t>, 7> kPieces = {
      {{0, 2}, {3, 2}, {6, 2}, {9, 3}, {17, 2}, {20, 2}, {23, 2}}};
  for (std::size_t i = 0; i < kPieces.size(); ++i) {
    setShort(timing.parts[i], line.substr(at[kPieces[i].first], kPieces[i].second));
  }
  const std::string_view rest = line.substr(at[26]);
  const std::size_t blank = rest.find_first_of(" \t");
  const std::string_view millis = rest.substr(0, blank);
  setShort(timing.parts[7], millis.substr(0, utf8::offset(millis, 3)));
  buildLine(timing,
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

bool variantLine(std::string_view line, TimingLine& timing) {
  Cursor c(line);
  if (!c.time(&timing.parts[0])) return false;
  c.skipBlanks();
  if (!c.take("-->")) return false;
  c.skipBlanks();
  if (!c.time(&timing.parts[4])) return false;
  const std::string_view rest = c.rest();
  if (!rest.empty() && !isBlank(rest.front())) return false;
  buildLine(timing, tailOf(rest));
  return true;
}

}  // namespace

bool readTimingLine(std::string_view line, bool ended, TimingLine& timing) {
  if (line.empty()) return false;
  if (standardLine(line, timing) || variantLine(line, timing)) return true;
  if (!ended) return false;
  for (std::string& part : timing.parts) part.clear();
  timing.line.assign(line);
  timing.readable = false;
  return true;
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

bool SrtScanner::next(ScannedEntry& entry) {
  if (!started_) {
    started_ = true;
    if (in_.atEnd()) return false;
    entry.numberLine = in_.readline();
    const std::optional<int> number = firstEntryNumber(entry.numberLine);
    if (!number) {
      partial_ = true;
      return false;
    }
    entry.number = *number;
  } else {
    if (!nextFound_) return false;  // the end of the file, or a broken entry
    nextFound_ = false;
    entry.number = number_ + 1;
    entry.numberLine = lastLine_;
  }
  number_ = entry.number;
  blankCount_ = 0;
  entry.text.clear();
  entry.last = true;

  // The timing line; an entry without one breaks off the reading.
  entry.broken = in_.atEnd();
  if (!entry.broken) {
    const std::string line = in_.readline();
    entry.broken = !readTimingLine(line, in_.lastLineEnded(), entry.timing);
  }
  if (entry.broken) {
    partial_ = true;
    return true;
  }

  // Text lines up to the first empty line. A text line moves into the text rather than
  // being copied (a line can be as long as the file), so lastLine_ keeps the last line
  // read that was no text.
  const std::string next = std::to_string(entry.number + 1);
  bool first = true;
  while (!nextFound_ && !in_.atEnd()) {
    lastLine_ = in_.readline();
    if (lastLine_.empty()) {
      if (blankCount_ < kLargestInt16) ++blankCount_;
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
      ++skippedLines_;
    }
  }
  entry.last = !nextFound_;
  return true;
}

}  // namespace obrel
