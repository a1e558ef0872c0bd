// File > Open > Subtitle File (.srt) and OpenFile, which puts every entry the scanner reads
// through the index box and the nine fields, as a user would type it, and stores the fields.
#include <optional>
#include <utility>

#include "document/file_limits.h"
#include "document/srt_scanner.h"
#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_dialogs.h"
#include "platform/numbers.h"
#include "platform/prompts.h"
#include "platform/text_file.h"

namespace obrel {

namespace {

// Counts a number in plain decimal on by one, in place: cheaper than making its text anew
// for every entry of a file.
void countOn(std::string& decimal) {
  std::size_t i = decimal.size();
  while (i > 0 && decimal[i - 1] == '9') decimal[--i] = '0';
  if (i == 0) {
    decimal.insert(decimal.begin(), '1');
  } else {
    ++decimal[i - 1];
  }
}

void tellUnreadable(Prompts& prompts) {
  prompts.messageBox("This file could not be read as a subtitle file.", "Obrel Dizivud",
                     Icon::Exclamation, Buttons::OK);
}

}  // namespace

void Form2::OpenSrt_Click() {
  const SaveItems before = saveItems();
  SaveOrNot();
  if (ProceedFlag != 1) return;  // cancelled, or the save the user asked for failed
  try {
    countChange();
    const std::string path = services_.dialogs.show(
        "CommonDialog3", DialogKind::Open, "Open Subtitle File", "Subtitle Files (*.srt)|*.srt");
    if (!path.empty()) loadSubtitleFile(path);
  } catch (const Failure&) {
    // The command's trap: it ends silently, keeping what was done.
  }
  keepSaveItems(before);
}

void Form2::openSubtitleFile(const std::string& path) {
  const SaveItems before = saveItems();
  SaveOrNot();
  if (ProceedFlag != 1) return;
  try {
    countChange();
    loadSubtitleFile(path);
  } catch (const Failure&) {
  }
  keepSaveItems(before);
}

void Form2::loadSubtitleFile(const std::string& path) {
  // The first entry is read before anything changes: a file that cannot be read, or that
  // gives no entry, leaves the document as it was.
  std::optional<TextReader> in;
  std::optional<SrtScanner> scanner;
  ScannedEntry first;
  bool readable = false;
  try {
    in.emplace(services_.files, path, kLargestSubtitleFile);
    scanner.emplace(*in);
    readable = scanner->next(first) && !first.broken;
  } catch (const Failure&) {
  }
  if (!readable) {
    tellUnreadable(services_.prompts);
    return;
  }

  document_.CurrentFile = path;
  setCaption("Obrel Dizivud - " + path);
  Sub_Initial();
  clearUndoHistory();  // nothing before the load can be taken back into the file read
  Save.setEnabled(true);
  SaveAs.setEnabled(true);
  document_.encoding = in->encoding();
  document_.fileIdentity = in->identity();
  OpenFile(*scanner, first);
  document_.markSaved();
}

void Form2::OpenFile(SrtScanner& scanner, ScannedEntry& entry) {
  LastLine.clear();
  // The first entry goes to the slot its number names. A file numbered from 0 fills the
  // slots from 1 (slot 0 is never written to a file), and so does one whose first entry has
  // no number, or one past the last slot. Every later entry goes to the slot after the one
  // before, whatever its number line says.
  const bool firstInTurn = entry.numbered && entry.number <= kLastEntry;
  const int firstSlot = firstInTurn && entry.number > 0 ? static_cast<int>(entry.number) : 1;
  int slot = firstSlot;
  int renumberedFrom = firstInTurn ? 0 : slot;
  // The first number line goes into the index box as it stands where the box reads that
  // slot from it.
  std::string box = entry.numbered && firstEntryNumber(entry.numberLine) == slot
                        ? entry.numberLine
                        : std::to_string(slot);
  bool whole = true;
  int lastStored = 0;
  int firstUnreadTimes = 0;
  bool scratchKept = false;
  do {
    if (slot > kLastEntry) {
      whole = false;  // entry 10000 and later are not read
      break;
    }
    // Through the index box and the fields, as a user would type it. An entry that breaks
    // off is shown, empty, and not stored.
    setIndexBox(box);
    if (entry.broken) break;
    if (!entry.inTurn && renumberedFrom == 0) renumberedFrom = slot;
    // The file's last entry leaves its text lines in the scratch file now, while the text
    // is held once.
    if (entry.last) {
      keepScratchCopy(entry.text);
      scratchKept = true;
    }
    storeScannedEntry(entry);
    lastStored = CurrentIndex;
    if (!entry.timing.readable && firstUnreadTimes == 0) firstUnreadTimes = CurrentIndex;
    // From the second entry on, the box is given the slot in plain decimal.
    if (++slot == firstSlot + 1) {
      box = std::to_string(slot);
    } else {
      countOn(box);
    }
  } while (scanner.next(entry));
  LastLine = scanner.lastLine();
  BlankCount = static_cast<std::int16_t>(scanner.blankCount());

  // The editor stays on the entry the index box shows.
  if (Text10.text().empty()) {
    CurrentIndex = 1;
  } else if (const std::optional<std::int16_t> box = readInt16(Text10.text())) {
    CurrentIndex = *box;
  }
  if (!scratchKept) keepScratchCopy(document_.store.at(lastStored).EntryText);
  tellWhatWasNotRead(whole && !scanner.partial() ? 0 : lastStored, renumberedFrom,
                     firstUnreadTimes);
}

void Form2::storeScannedEntry(ScannedEntry& entry) {
  TextBox* const timeBoxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8};
  for (std::size_t i = 0; i < 8; ++i) timeBoxes[i]->setText(entry.timing.parts[i]);
  Text9.setText(entry.text);
  std::string().swap(entry.text);  // the text may be as long as the file: held once

  Entry& e = document_.store.edit(CurrentIndex);
  e.EntryTiming = entry.timing.line;  // as read, with a position tail or unreadable
  e.StartHours = Text1.text();
  e.StartMinutes = Text2.text();
  e.StartSeconds = Text3.text();
  e.StartMillis = Text4.text();
  e.EndHours = Text5.text();
  e.EndMinutes = Text6.text();
  e.EndSeconds = Text7.text();
  e.EndMillis = Text8.text();
  e.EntryText = Text9.text();
}

void Form2::tellWhatWasNotRead(int partAfter, int renumberedFrom, int firstUnreadTimes) {
  // Saving what was read over the whole file would cut it down: until it is saved under a
  // name chosen in the save dialog, Save asks for one.
  document_.partialLoad = partAfter != 0;
  const auto tell = [this](const std::string& text) {
    services_.prompts.messageBox(text, "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
  };
  if (document_.partialLoad) {
    tell("Part of this file could not be read. The entries after entry " +
         std::to_string(partAfter) + " may be missing.");
  }
  // Not a loss: the entries are all there, and Save writes them with their new numbers.
  if (renumberedFrom != 0) {
    tell("The entries of this file are not numbered one after another from entry " +
         std::to_string(renumberedFrom) +
         " on. They have been numbered again in the order of the file.");
  }
  if (firstUnreadTimes != 0) {
    tell("The times of entry " + std::to_string(firstUnreadTimes) + " could not be read.");
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
