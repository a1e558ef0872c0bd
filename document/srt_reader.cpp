// File > Open > Subtitle File (.srt) and the reader. The reader puts every entry through
// the index box and the nine fields, as a user would type it, and stores the fields.
#include <algorithm>
#include <optional>

#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_dialogs.h"
#include "platform/numbers.h"
#include "platform/prompts.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

// The last entry a file can fill: the index box cannot name 10000.
constexpr int kLastReadEntry = 9999;
// A larger file is refused unread. The program's own files of 9999 entries take a few
// megabytes; the limit keeps a device or a huge file from taking all memory.
constexpr std::size_t kLargestSubtitleFile = std::size_t{256} * 1024 * 1024;

// Whether a file's first line, cut to the index box's four characters, names an entry from
// 1 to 9999 by the box's rule (an empty box names entry 1). A line that is itself a number
// the cut would change ("10000" is no entry 1000) names none.
bool namesFirstEntry(const std::string& line) {
  const std::string box = utf8::left(line, 4);
  if (box.empty()) return true;
  int n = 0;
  try {
    n = readInt16(box);
    if (n < 1 || n > kLastReadEntry) return false;
  } catch (const Failure&) {
    return false;
  }
  if (box.size() == line.size()) return true;
  try {
    return roundHalfEven(readNumber(line)) == n;
  } catch (const TypeMismatch&) {
    return true;  // no number as a whole: the box's four characters decide
  } catch (const Failure&) {
    return false;  // a number too large for any entry
  }
}

}  // namespace

void Form2::attachReading() {
  OpenSrt.onClick = [this] { OpenSrt_Click(); };
}

void Form2::OpenSrt_Click() {
  SaveOrNot();
  if (ProceedFlag != 1) return;  // cancelled, or the save the user asked for failed
  try {
    countChange();
    const std::string path = services_.dialogs.show("CommonDialog3", DialogKind::Open,
                                                    "Open Subtitle File",
                                                    "Subtitle Files (*.srt)|*.srt");
    if (path.empty()) return;

    // A file that cannot be read, or whose first line names no entry, loads nothing and
    // leaves the document as it was.
    // The reader that looked at the first line goes on to read the entries: the file is
    // read and decoded once.
    bool readable = false;
    std::optional<TextReader> in;
    std::optional<std::string> firstLine;
    try {
      in.emplace(services_.files, path, kLargestSubtitleFile);
      if (!in->atEnd()) firstLine = in->readline();
      readable = namesFirstEntry(firstLine.value_or(std::string())) && !in->atEnd();
    } catch (const Failure&) {
      readable = false;
    }
    if (!readable) {
      services_.prompts.messageBox("This file could not be read as a subtitle file.",
                                   "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
      return;
    }

    CurrentFile = path;
    setCaption("Obrel Dizivud - " + path);
    Sub_Initial();
    Save.setEnabled(true);
    SaveAs.setEnabled(true);
    readEntries(*in, std::move(firstLine));
  } catch (const Failure&) {
    // The command's trap: it ends silently, keeping what was done.
  }
}

void Form2::OpenFile() {
  TextReader in(services_.files, CurrentFile, kLargestSubtitleFile);
  std::optional<std::string> firstLine;
  if (!in.atEnd()) firstLine = in.readline();
  readEntries(in, std::move(firstLine));
}

void Form2::readEntries(TextReader& in, std::optional<std::string> firstLine) {
  DocumentEncoding = in.encoding();
  LastLine.clear();

  bool whole = true;       // every line of the file was taken in
  bool nextFound = false;  // the text loop ended at the next entry's number line
  int lastStored = 0;
  bool scratchKept = false;

  for (CurrentIndex = 1;; CurrentIndex = increment16(CurrentIndex)) {
    BlankCount = 0;

    // Number line: the file's first line names the first entry; every later entry was
    // recognised by the text loop, which left its number in LastLine.
    if (CurrentIndex == 1) {
      if (!firstLine) break;
      setIndexBox(*firstLine);
    } else {
      if (!nextFound) break;  // the end of the file
      if (CurrentIndex > kLastReadEntry) {
        whole = false;  // entry 10000 and later are not read
        break;
      }
      setIndexBox(LastLine);
    }

    // Timing line at fixed character positions; the counts run on over a short line.
    // The file ending inside it leaves the entry unstored.
    if (!readTimingLine(in)) {
      whole = false;
      break;
    }

    // Text lines up to the first empty line; the next entry begins at the line that reads
    // exactly its number. A text line moves into the text rather than being copied (a line
    // can be as long as the file), so LastLine holds the last line read that was no text.
    const std::string next = std::to_string(CurrentIndex + 1);
    std::string text;
    bool firstLine = true;
    nextFound = false;
    while (!nextFound && !in.atEnd()) {
      LastLine = in.readline();
      if (LastLine.empty()) {
        if (BlankCount < 32767) ++BlankCount;
      } else if (LastLine == next) {
        nextFound = true;
      } else if (BlankCount == 0) {
        if (firstLine) {
          text = std::move(LastLine);
        } else {
          text += "\r\n";
          text += LastLine;
        }
        std::string().swap(LastLine);  // lets its buffer go, as assigning "" would not
        firstLine = false;
      } else {
        whole = false;  // a line after the entry's empty line is skipped
      }
    }
    // The file's last entry leaves its text lines in the scratch file now, while the text
    // is held once.
    if (!nextFound) {
      keepScratchCopy(text);
      scratchKept = true;
    }
    // Complete the entry through the fields.
    Text9.setText(text);
    std::string().swap(text);
    Entry& e = store.at(CurrentIndex);
    e.EntryTiming = timingLine(Text1.text(), Text2.text(), Text3.text(), Text4.text(),
                               Text5.text(), Text6.text(), Text7.text(), Text8.text());
    e.StartHours = Text1.text();
    e.StartMinutes = Text2.text();
    e.StartSeconds = Text3.text();
    e.StartMillis = Text4.text();
    e.EndHours = Text5.text();
    e.EndMinutes = Text6.text();
    e.EndSeconds = Text7.text();
    e.EndMillis = Text8.text();
    e.EntryText = Text9.text();
    lastStored = CurrentIndex;
  }

  // The editor stays on the entry the index box shows.
  try {
    CurrentIndex = Text10.text().empty() ? 1 : readInt16(Text10.text());
  } catch (const Failure&) {
  }
  if (!scratchKept) {
    keepScratchCopy(lastStored == 0 ? std::string() : store.at(lastStored).EntryText);
  }

  if (!whole) {
    services_.prompts.messageBox(
        lastStored == 0 ? "This file could not be read as a subtitle file."
                        : "Part of this file could not be read. The entries after entry " +
                              std::to_string(lastStored) + " may be missing.",
        "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
  }
}

bool Form2::readTimingLine(TextReader& in) {
  // The fourteen reads by character count, done as one read of all 26 characters cut at
  // the same places: a read that finds nothing left ends the line, as the file's end would.
  struct Piece {
    std::size_t characters;
    TextBox* box;  // nullptr: a separator, thrown away
  };
  const Piece pieces[] = {{2, &Text1}, {1, nullptr}, {2, &Text2}, {1, nullptr}, {2, &Text3},
                          {1, nullptr}, {3, &Text4}, {5, nullptr}, {2, &Text5}, {1, nullptr},
                          {2, &Text6}, {1, nullptr}, {2, &Text7}, {1, nullptr}};
  try {
    const std::string read = in.read(26);
    const std::string_view text = read;
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::size_t at = 0;
    for (const Piece& piece : pieces) {
      if (at == text.size()) return false;
      const std::size_t end = ascii ? std::min(at + piece.characters, text.size())
                                    : at + utf8::offset(text.substr(at), piece.characters);
      if (piece.box) piece.box->setText(text.substr(at, end - at));
      at = end;
    }
    Text8.setText(in.readline());
    return true;
  } catch (const EndOfFile&) {
    return false;
  }
}

void Form2::keepScratchCopy(const std::string& text) {
  // The last entry's text lines stay behind in Support/Temp.srt where the folder allows. The
  // text came from the reader, so it is valid UTF-8 already.
  std::string lines;
  lines.reserve(text.size() + 2);  // one buffer: the text can be as long as the file
  lines = text;
  if (!lines.empty()) lines += "\r\n";
  try {
    services_.files.writeScratch(services_.programFolder + "/Support/Temp.srt", lines);
  } catch (const Failure&) {
  }
}

}  // namespace obrel
