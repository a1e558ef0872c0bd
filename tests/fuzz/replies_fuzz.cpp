// Fuzz target: any bytes as a help-text file read into the pane, then any texts as replies to
// the input boxes of Insert, Clear, Delete and Field Block, mixed with commits and moves of
// the index box, on a small document. A broken rule aborts, which libFuzzer reports.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/numbers.h"
#include "platform/text_encoding.h"
#include "platform/utf8.h"
#include "testing/test_window.h"
#include "testing/window_invariants.h"

namespace {

using obrel::Answer;
using obrel::EntryStore;
using obrel::Form2;

[[noreturn]] void finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

constexpr const char* kDocument =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\nlines\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\nThree\r\n\r\n";

// Entries with a time part, the ones Insert and Delete move.
int timedEntries(const Form2& form) {
  const EntryStore& store = form.document().store;
  int n = 0;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) n += store.at(k).timed();
  return n;
}

// The entry number a reply names, as the Edit commands read it; nullopt for none.
std::optional<int> named(const std::optional<std::string>& reply) {
  if (!reply) return std::nullopt;
  return obrel::readInt16(*reply);
}

void run(const char* what, void (Form2::*handler)(), Form2& form) {
  try {
    (form.*handler)();
  } catch (...) {
    finding(std::string("a failure escaped ") + what);
  }
  const std::string problem = obrel::invariants::windowProblem(form);
  if (!problem.empty()) finding(std::string("after ") + what + ": " + problem);
  if (obrel::utf8::length(form.Text10.text()) > 4)
    finding("the index box holds more than 4 characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  obrel::fake::TestWindow w;
  Form2& form = w.form;

  // The help-text pane shows the file's whole text, decoded.
  const std::string help = input.ConsumeRandomLengthString(4096);
  w.files.files()["help.txt"] = help;
  w.dialogs.choices.push_back("help.txt");
  run("the help-text file", &Form2::OpenHelpText_Click, form);
  if (form.Text11.text() != obrel::decodeText(help).text || !form.HelpTextOn.checked()) {
    finding("the pane does not show the help text");
  }

  w.files.files()["doc.srt"] = kDocument;
  w.dialogs.choices.push_back("doc.srt");
  run("the Open", &Form2::OpenSrt_Click, form);

  for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
    const int command = input.ConsumeIntegralInRange(0, 6);
    std::optional<std::string> reply;
    if (input.ConsumeBool()) reply = input.ConsumeRandomLengthString(24);
    w.prompts.replies.clear();
    w.prompts.answers.clear();
    if (reply) w.prompts.replies.push_back(*reply);
    w.prompts.answers.push_back(input.ConsumeBool() ? Answer::Yes : Answer::No);
    const int before = command <= 2 ? timedEntries(form) : 0;
    const std::optional<int> n = named(reply);

    switch (command) {
      case 0: {
        const bool yes = w.prompts.answers.front() == Answer::Yes;
        const bool inserts = n && *n >= 1 && *n <= 9999 &&
                             form.document().store.at(EntryStore::kLast).empty() &&
                             (form.document().store.at(*n - 1).timed() || yes);
        run("Insert New Entry", &Form2::InsertNewEntry_Click, form);
        // An insert never loses an entry: it refuses when the last slot is taken.
        if (timedEntries(form) != before) finding("Insert changed the number of entries");
        if (inserts && (!form.document().store.at(*n).empty() || form.CurrentIndex != *n)) {
          finding("Insert did not open an empty slot at the number it was given");
        }
        break;
      }
      case 1:
        run("Clear Entry", &Form2::ClearEntry_Click, form);
        if (n && *n >= 1 && *n <= 9999 &&
            (!form.document().store.at(*n).empty() || form.CurrentIndex != *n ||
             form.Text10.text() != std::to_string(*n))) {
          finding("Clear did not clear the entry it was given");
        }
        if (!(n && *n >= 1 && *n <= 9999) && timedEntries(form) != before) {
          finding("Clear changed the store for a reply naming no entry");
        }
        break;
      case 2: {
        const bool named16 = n && *n >= EntryStore::kFirst && *n <= EntryStore::kLast;
        const bool wasTimed = named16 && form.document().store.at(*n).timed();
        run("Delete Entry", &Form2::DeleteEntry_Click, form);
        const int after = timedEntries(form);
        if (after != before && after != before - 1) finding("Delete removed more than one entry");
        if (!wasTimed && after != before) finding("Delete removed an entry it was not given");
        break;
      }
      case 3:
        run("Field Block", &Form2::FBlock_Click, form);
        if (form.FBlock.checked() &&
            (form.Text1.text() != obrel::utf8::left(form.DefaultHours, 2) ||
             form.Text5.text() != form.Text1.text() || form.Text1.enabled() ||
             form.Text5.enabled())) {
          finding("Field Block does not hold both hours fields");
        }
        break;
      case 4:
        if (form.Text2.text().empty()) form.Text2.setText("00");
        if (form.Text3.text().empty()) form.Text3.setText("09");
        if (form.Text4.text().empty()) form.Text4.setText("0");
        if (form.Text6.text().empty()) form.Text6.setText("00");
        if (form.Text7.text().empty()) form.Text7.setText("10");
        if (form.Text8.text().empty()) form.Text8.setText("5");
        if (form.Text9.text().empty()) form.Text9.setText(reply.value_or("text"));
        run("OK", &Form2::Command3_Click, form);
        break;
      case 5:
        // The reply typed over the index box, as a paste would put it.
        try {
          form.Text10.setText(reply.value_or(""));
        } catch (...) {
          finding("a failure escaped the index box");
        }
        run("a look at the window", &Form2::ShowEntry, form);
        break;
      default: run(">", &Form2::Command2_Click, form); break;
    }
  }
  return 0;
}
