// File > Open > Subtitle File (.srt) and the reader. The reader puts every entry through
// the index box and the nine fields, as a user would type it, and stores the fields.
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

// Whether a file's first line, cut to the index box's four characters, names an entry from
// 1 to 9999 by the box's rule (an empty box names entry 1).
bool namesFirstEntry(const std::string& line) {
  const std::string box = utf8::left(line, 4);
  if (box.empty()) return true;
  try {
    const int n = readInt16(box);
    return n >= 1 && n <= kLastReadEntry;
  } catch (const Failure&) {
    return false;
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
    bool readable = false;
    try {
      TextReader in(services_.files, path);
      readable = namesFirstEntry(in.atEnd() ? std::string() : in.readline()) && !in.atEnd();
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
    OpenFile();
  } catch (const Failure&) {
    // The command's trap: it ends silently, keeping what was done.
  }
}

void Form2::OpenFile() {
  TextReader in(services_.files, CurrentFile);
  DocumentEncoding = in.encoding();
  LastLine.clear();

  bool whole = true;       // every line of the file was taken in
  bool nextFound = false;  // the text loop ended at the next entry's number line
  int lastStored = 0;
  std::string lastText;

  for (CurrentIndex = 1;; CurrentIndex = increment16(CurrentIndex)) {
    BlankCount = 0;

    // Number line: the file's first line names the first entry; every later entry was
    // recognised by the text loop, which left its number in LastLine.
    if (CurrentIndex == 1) {
      if (in.atEnd()) break;
      setIndexBox(in.readline());
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
    try {
      Text1.setText(in.read(2));
      in.read(1);
      Text2.setText(in.read(2));
      in.read(1);
      Text3.setText(in.read(2));
      in.read(1);
      Text4.setText(in.read(3));
      in.read(5);
      Text5.setText(in.read(2));
      in.read(1);
      Text6.setText(in.read(2));
      in.read(1);
      Text7.setText(in.read(2));
      in.read(1);
      Text8.setText(in.readline());
    } catch (const EndOfFile&) {
      whole = false;
      break;
    }

    // Text lines up to the first empty line; the next entry begins at the line that reads
    // exactly its number.
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
        if (!firstLine) text += "\r\n";
        text += LastLine;
        firstLine = false;
      } else {
        whole = false;  // a line after the entry's empty line is skipped
      }
    }
    // Complete the entry through the fields.
    Text9.setText(text);
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
    lastText = std::move(text);
  }

  // The editor stays on the entry the index box shows.
  try {
    CurrentIndex = Text10.text().empty() ? 1 : readInt16(Text10.text());
  } catch (const Failure&) {
  }
  keepScratchCopy(lastText);

  if (!whole) {
    services_.prompts.messageBox(
        lastStored == 0 ? "This file could not be read as a subtitle file."
                        : "Part of this file could not be read. The entries after entry " +
                              std::to_string(lastStored) + " may be missing.",
        "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
  }
}

void Form2::keepScratchCopy(const std::string& text) {
  // The last entry's text lines stay behind in Support/Temp.srt where the folder allows.
  std::string lines = text;
  if (!lines.empty()) lines += "\r\n";
  try {
    services_.files.writeScratch(services_.programFolder + "/Support/Temp.srt",
                                 encodeText(lines, TextEncoding::Utf8).bytes);
  } catch (const Failure&) {
  }
}

}  // namespace obrel
