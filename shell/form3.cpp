#include "shell/form3.h"

#include "platform/failure.h"
#include "platform/text_file.h"

namespace obrel {

namespace {

// The help is a page of text; a larger file is not read at all.
constexpr std::size_t kLargestHelpFile = std::size_t{16} * 1024 * 1024;

}  // namespace

Form3::Form3(FileSystem& files, std::string programFolder)
    : Form("Form3"), files_(files), programFolder_(std::move(programFolder)) {
  setCaption("Help");
  clientWidth = 10575;
  clientHeight = 7545;
  border = Border::FixedSingle;
  Frame1.place = {0, -60, 10605, 7335};
  Label6.container = "Frame1";
  Label6.place = {240, 240, 3495, 495};
  Label6.font = {"Calibri", 18, true};
  Label6.setCaption("Obrel Dizivud Help :");
  Label6.buddy = "Text1";
  Text1.container = "Frame1";
  Text1.place = {240, 840, 10095, 6255};
  Text1.font = {"Arial", 12, false};
  Text1.tooltip = "Text";
  Text1.multiLine = true;
  Text1.wrap = true;
  Text1.readOnly = true;
  Text1.accessibleName = "Help contents";
  add(Frame1);
  add(Label6);
  add(Text1);
  setTabOrder({"Text1"});
}

void Form3::Form_Load() {
  try {
    TextReader in(files_, programFolder_ + "/Support/Help/Obrel_help.txt", kLargestHelpFile);
    if (!in.atEnd()) Text1.setText(in.readAll());
    in.Close();
  } catch (const Failure&) {
    // A missing or unreadable help file opens the window empty.
  }
}

}  // namespace obrel
