#pragma once
// Reading an SRT file into raw entries, with no window: the number lines, the timing line
// taken apart, the text lines, and whether anything was left unread.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace obrel {

class TextReader;

// An entry's timing line as the store keeps it, with its eight time parts.
struct TimingLine {
  // Start hours, minutes, seconds, milliseconds, then the same of the end; all empty when
  // the line could not be read.
  std::array<std::string, 8> parts;
  // The line to store: built from the parts (with any position tail kept at its end), or
  // the line as read when it could not be read.
  std::string line;
  bool readable = true;
};

// Reads one timing line (without its line end) into timing; ended tells whether a line
// end followed it. False when the line gives no entry: it is empty, or the file's end cut
// it off and it is not complete. timing is filled in place, so a reader reusing it for
// every entry makes no new strings.
//  - Standard: at least 26 characters with digits at every digit place of the start time
//    and of the end hours, minutes and seconds (the separators are not checked); parts by
//    position, the end milliseconds the rest of the line up to its first blank, cut to
//    three characters.
//  - Variant: H:M:S[,ms] --> H:M:S[,ms] with one or two digits for H, M and S, "," or "."
//    before one to three digits of milliseconds (none: 000), any blanks around the arrow;
//    parts widened to 2, 2, 2 and 3 characters.
//  - Either may go on with a blank and more (a position such as "X1:100 X2:600"): that
//    tail is kept at the end of the line; a tail of blanks alone is dropped.
//  - Anything else that a line end closes is kept as read, unreadable.
bool readTimingLine(std::string_view line, bool ended, TimingLine& timing);

// The number a file's first line gives its first entry by the index box's rule (the line
// cut to four characters; empty reads as 1), from 1 to 9999, or 0 when the line itself is
// at most four characters long. nullopt when it names no entry, also when the line is a
// number that the cut would change ("10000" names no entry 1000).
std::optional<int> firstEntryNumber(std::string_view line);

// One entry as the file holds it.
struct ScannedEntry {
  // The number it stands for: what its number line says, or one more than the previous
  // entry's number when it has none (1 for a first entry without one). Very large numbers
  // stop at kLargestEntryNumber.
  long long number = 0;
  std::string numberLine;  // its number line as read; empty when it has none
  bool numbered = false;   // it has a number line
  // Its number follows the previous entry's by one. A first entry is in turn when it has a
  // number line; whether that number names a slot is for the caller to say.
  bool inTurn = false;
  TimingLine timing;
  std::string text;   // its text lines joined by CR LF, empty lines inside it included
  bool last = false;  // no entry follows it in the file
  // Its timing line is missing, empty or cut off by the file's end: it gives no entry, and
  // the reading ends with it.
  bool broken = false;
};

// Where the numbers of a file's number lines stop: larger ones read as this.
constexpr long long kLargestEntryNumber = 999'999'999'999;

// The number a number line says: blanks, at least one digit, blanks, and nothing else.
std::optional<long long> numberLineValue(std::string_view line);

// Whether a line reads as a timing line (standard or variant, as readTimingLine, whether a
// line end closes it or not), without building its timing line: only scratch's parts may be
// written.
bool readsAsTimingLine(std::string_view line, TimingLine& scratch);

// Reads entries one at a time, in file order. Empty lines before the first entry are
// skipped; the first entry starts at a number line (any number the index box reads, as
// firstEntryNumber, or digits) or at a timing line. After that a line starts an entry when
// it is a number line directly followed by a timing line; or, after an empty line, the next
// number exactly followed by a non-empty line (its timing line, readable or not); or, after
// an empty line, a timing line (an entry without a number line). An entry's text runs up to
// the next start; the empty lines just before it are separators, any other belongs to the
// text. The next number standing after an empty line with only empty lines after it to the
// file's end is an entry broken off.
class SrtScanner {
 public:
  // Reads from in, which stands at the start of the file.
  explicit SrtScanner(TextReader& in);

  // Fills entry with the next entry, reusing its strings; false once the file is read,
  // after a broken entry, or when the file's first non-empty line starts no entry.
  bool next(ScannedEntry& entry);

  // Whether anything of the file was left unread: a broken entry, or a first line that
  // starts no entry.
  bool partial() const { return partial_; }
  // The number line of the entry after the last one read (empty when it has none, or at
  // the end), and the empty lines that ended the last entry's text.
  const std::string& lastLine() const { return lastLine_; }
  int blankCount() const { return blankCount_; }

 private:
  enum class Start { None, Numbered, Unnumbered, BrokenOff };
  enum class Verdict { Text, Begins, TextBeforeEmptyLines };

  // The next line, the one looked at ahead first; false at the file's end.
  bool take(std::string& line, bool& ended);
  // Looks at the next line without taking it; false at the file's end.
  bool peek();
  // Reads the first entry's number line or timing line; false when the file gives none.
  bool first(ScannedEntry& entry);
  // Whether line, not empty and met in the text of the entry numbered number_, starts the
  // next one; if so start_ and the lines it needs are kept. TextBeforeEmptyLines: it is text,
  // and the empty lines after it (taken, counted in empties) belong to the text as well
  // unless a start follows them.
  Verdict startsEntry(std::string& line, bool ended, bool afterEmpty, int& empties);
  // The text lines after entry's timing line, up to the next start or the end.
  void readText(ScannedEntry& entry);

  TextReader& in_;
  bool started_ = false;
  bool peeked_ = false;  // ahead_ holds the next line, not yet taken
  std::string ahead_;
  bool aheadEnded_ = false;
  // The start of the entry after the last one read.
  Start start_ = Start::None;
  long long startNumber_ = 0;
  bool startInTurn_ = false;
  std::string startTimingLine_;
  bool startTimingEnded_ = false;
  long long number_ = 0;  // the number the last entry read stands for
  bool partial_ = false;
  std::string lastLine_;
  int blankCount_ = 0;
  TimingLine scratch_;
};

}  // namespace obrel
