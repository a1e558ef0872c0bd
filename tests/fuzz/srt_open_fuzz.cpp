// Fuzz target: any bytes as an SRT file, opened through the main window's real Open path
// (the save prompt, the dialog, the reader through the index box and the fields), then saved
// and opened again. A broken rule aborts, which libFuzzer reports as a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/failure.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "testing/test_window.h"
#include "testing/window_invariants.h"
#include "testing/window_setup.h"

namespace {

using obrel::Entry;
using obrel::Form2;

[[noreturn]] void finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

// Slots 0 and 10000 hold this before the Open: no file may reach them.
Entry outsideEntry() {
  Entry e;
  e.EntryText = "outside";
  e.StartHours = e.StartMinutes = e.StartSeconds = e.EndHours = e.EndMinutes = e.EndSeconds = "00";
  e.StartMillis = e.EndMillis = "000";
  e.EntryTiming = obrel::timingLine("00", "00", "00", "000", "00", "00", "00", "000");
  return e;
}

void open(obrel::fake::TestWindow& w, const std::string& path, const char* step) {
  w.dialogs.choices.push_back(path);
  try {
    w.form.OpenSrt_Click();
  } catch (...) {
    finding(std::string("a failure escaped the Open of ") + step);
  }
  const std::string problem = obrel::invariants::windowProblem(w.form);
  if (!problem.empty()) finding(std::string("after the Open of ") + step + ": " + problem);
  // Slot 10000 may only be emptied, by the reset before a reading.
  const obrel::EntryStore& store = w.form.document().store;
  const Entry& last = store.at(10000);
  if (!(store.at(0) == outsideEntry()) || !(last == outsideEntry() || last.empty())) {
    finding(std::string("the Open of ") + step + " wrote to slot 0 or slot 10000");
  }
}

// The reader gives the same lines and characters whether it decodes the file as it goes
// (Windows-1252) or holds it decoded: the same steps on the file and on its decoded text,
// chosen by the input's own bytes, must agree.
void readersAgree(const std::string& bytes) {
  obrel::fake::MemoryFileSystem files;
  files.files()["raw"] = bytes;
  // Behind a UTF-8 mark, which the reader takes away: text that begins with U+FEFF itself
  // (a file with its mark twice) keeps it.
  files.files()["decoded"] = "\xEF\xBB\xBF" + obrel::decodeText(bytes).text;
  obrel::TextReader raw(files, "raw");
  obrel::TextReader decoded(files, "decoded");
  for (std::size_t i = 0; !raw.atEnd() || !decoded.atEnd(); ++i) {
    if (raw.atEnd() != decoded.atEnd()) finding("one reader ended before the other");
    const unsigned char step = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    std::string a, b;
    switch (step % 3) {
      case 0:
        a = raw.readline();
        b = decoded.readline();
        break;
      case 1:
        a = raw.read(step % 7);
        b = decoded.read(step % 7);
        break;
      default:
        a = raw.readAll();
        b = decoded.readAll();
        break;
    }
    if (a != b) finding("the readers read \"" + a + "\" and \"" + b + "\"");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  obrel::fake::TestWindow w;
  Form2& form = w.form;
  obrel::EntryStore store;
  store.edit(0) = outsideEntry();
  store.edit(10000) = outsideEntry();
  // A document to keep: a load that stores no entry must leave it as it is.
  store.edit(1) = outsideEntry();
  obrel::DocumentFacts facts;
  facts.currentFile = "before.srt";
  obrel::fake::takeDocument(form, std::move(store), std::move(facts));
  w.prompts.answers.push_back(obrel::Answer::No);  // to the save prompt
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  w.files.files()["in.srt"] = bytes;
  readersAgree(bytes);

  open(w, "in.srt", "the input");
  const obrel::Document& document = form.document();
  const bool loaded = document.CurrentFile == "in.srt";
  if (!loaded &&
      (document.CurrentFile != "before.srt" || !(document.store.at(1) == outsideEntry()))) {
    finding("a load that stored no entry changed the document");
  }
  if (loaded && form.document().encoding != obrel::detectEncoding(bytes)) {
    finding("the document's encoding is not the file's");
  }

  // Whatever was stored is written and read again: the writer and a second reading meet it.
  w.dialogs.choices.push_back("out.srt");
  try {
    form.SaveAs_Click();
  } catch (...) {
    finding("a failure escaped Save As");
  }
  if (!form.saveSucceeded || w.files.files().count("out.srt") == 0)
    finding("Save As wrote nothing");
  w.prompts.answers.push_back(obrel::Answer::No);
  open(w, "out.srt", "the saved file");
  return 0;
}
