// The help-text pane under the entry text: a text file shown whole for the user to read
// while typing. Text11 lies under Text9, so the pane shows exactly while Text9 is short.
#include <cstddef>
#include <string>

#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_dialogs.h"
#include "platform/text_file.h"

namespace obrel {

namespace {

constexpr int kEntryTextTall = 3015;   // covers the pane
constexpr int kEntryTextShort = 1610;  // uncovers it
// A larger file is not read at all: the pane is for notes and scripts, not for data.
constexpr std::size_t kLargestHelpText = std::size_t{16} * 1024 * 1024;

}  // namespace

void Form2::OpenHelpText_Click() {
  try {
    HelpTextPath = services_.dialogs.show("CommonDialog2", DialogKind::Open, "Open Help Text File",
                                          "Text Files (*.txt)|*.txt|Subtitle Files (*.srt)|*.srt");
    ReadHelpText();
  } catch (const Failure&) {
    // The command's trap: it ends silently.
  }
}

void Form2::ReadHelpText() {
  try {
    // Everything that can fail happens here, before anything changes: a cancelled dialog
    // (an empty path), a file that cannot be read or is too large.
    TextReader in(services_.files, HelpTextPath, kLargestHelpText);
    // An empty file shows as an empty pane rather than leaving the last file's text
    // standing as if it were this one's.
    const std::string text = in.atEnd() ? std::string() : in.readAll();
    in.Close();
    coverHelpPane(false);
    Text11.setText(text);
    HelpTextOn.setChecked(true);
    HelpTextOff.setChecked(false);
  } catch (const Failure&) {
    // The reading's trap: it ends silently, changing nothing.
  }
}

void Form2::HelpTextOn_Click() {
  if (HelpTextOff.checked()) {
    // Hidden: the kept text shows again; the file is not read again.
    HelpTextOn.setChecked(true);
    HelpTextOff.setChecked(false);
    coverHelpPane(false);
  } else {
    OpenHelpText_Click();
  }
}

void Form2::HelpTextOff_Click() {
  if (!HelpTextOn.checked()) return;
  HelpTextOn.setChecked(false);
  HelpTextOff.setChecked(true);
  coverHelpPane(true);
}

void Form2::coverHelpPane(bool covered) {
  Text9.setHeight(covered ? kEntryTextTall : kEntryTextShort);
  // A covered pane takes no focus: what the user typed there would land out of sight.
  Text11.setCovered(covered);
  if (covered && focus() == &Text11) setFocus(&Text9);
}

}  // namespace obrel
