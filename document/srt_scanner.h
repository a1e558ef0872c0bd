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
  int number = 0;          // the file's own number for it
  std::string numberLine;  // its number line as read
  TimingLine timing;
  std::string text;   // its text lines joined by CR LF
  bool last = false;  // no entry follows it in the file
  // Its timing line is missing, empty or cut off by the file's end: it gives no entry, and
  // the reading ends with it.
  bool broken = false;
};

// Reads entries one at a time: the first is numbered by its first line, each later one
// begins at the first non-empty line after the previous timing line that reads exactly
// its number. Text lines end at the first empty line; lines after it up to the next
// number line are skipped.
class SrtScanner {
 public:
  // Reads from in, which stands at the start of the file.
  explicit SrtScanner(TextReader& in);

  // Fills entry with the next entry, reusing its strings; false once the file is read,
  // after a broken entry, or when the file's first line names no entry.
  bool next(ScannedEntry& entry);

  // Whether anything of the file was left unread: a skipped line or a broken entry.
  bool partial() const { return partial_; }
  // How many non-empty lines were skipped: those after an entry's empty line that did not
  // begin the next entry.
  long skippedLines() const { return skippedLines_; }
  // The last line read that was no text line, and the empty lines of the last entry.
  const std::string& lastLine() const { return lastLine_; }
  int blankCount() const { return blankCount_; }

 private:
  TextReader& in_;
  bool started_ = false;
  bool nextFound_ = false;  // the last entry ended at the next one's number line
  int number_ = 0;          // the file's number of the last entry read
  bool partial_ = false;
  long skippedLines_ = 0;
  std::string lastLine_;
  int blankCount_ = 0;
};

}  // namespace obrel
