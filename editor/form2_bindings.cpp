// Which handler answers which control or menu item of the main window: the one place where
// user events reach Form2's handlers.
#include <stdexcept>
#include <string>

#include "editor/form2.h"

namespace obrel {

const std::vector<Form2::ClickBinding>& Form2::clickTable() {
  static const std::vector<ClickBinding> table = {
      {"Command1", &Form2::Command1_Click},
      {"Command2", &Form2::Command2_Click},
      {"Command3", &Form2::Command3_Click},
      {"Command4", &Form2::Command4_Click},
      {"Command5", &Form2::Command5_Click},
      {"Command6", &Form2::Command6_Click},
      {"Command7", &Form2::Command7_Click},
      {"Command8", &Form2::Command8_Click},
      {"Command9", &Form2::Command9_Click},
      {"Label24", &Form2::Label24_Click},
      {"Image3", &Form2::Image3_Click},
      {"New", &Form2::New_Click},
      {"OpenSrt", &Form2::OpenSrt_Click},
      {"OpenVideo", &Form2::OpenVideo_Click},
      {"OpenHelpText", &Form2::OpenHelpText_Click},
      {"Save", &Form2::Save_Click},
      {"SaveAs", &Form2::SaveAs_Click},
      {"Exit", &Form2::Exit_Click},
      {"Undo", &Form2::Undo_Click},
      {"Redo", &Form2::Redo_Click},
      {"InsertNewEntry", &Form2::InsertNewEntry_Click},
      {"ClearEntry", &Form2::ClearEntry_Click},
      {"DeleteEntry", &Form2::DeleteEntry_Click},
      {"ShiftTimes", &Form2::ShiftTimes_Click},
      {"Synchronize", &Form2::Synchronize_Click},
      {"ChangeFrameRate", &Form2::ChangeFrameRate_Click},
      {"SetStartAndShift", &Form2::SetStartAndShift_Click},
      {"FindAndReplace", &Form2::FindAndReplace_Click},
      {"FindNextKey", &Form2::FindNextKey_Click},
      {"FindPreviousKey", &Form2::FindPreviousKey_Click},
      {"ReplaceKey", &Form2::ReplaceKey_Click},
      {"PlayEntry", &Form2::PlayEntry_Click},
      {"EntryCheck", &Form2::EntryCheck_Click},
      {"FBlock", &Form2::FBlock_Click},
      {"HelpTextOn", &Form2::HelpTextOn_Click},
      {"HelpTextOff", &Form2::HelpTextOff_Click},
      {"Spelling", &Form2::Spelling_Click},
      {"EntryList", &Form2::EntryList_Click},
      {"SubtitlesOnVideo", &Form2::SubtitlesOnVideo_Click},
      {"ObrelHelp", &Form2::ObrelHelp_Click},
      {"About", &Form2::About_Click},
  };
  return table;
}

const std::vector<Form2::ChangeBinding>& Form2::changeTable() {
  static const std::vector<ChangeBinding> table = {
      {"Text9", &Form2::Text9_Change},
      {"Text10", &Form2::Text10_Change},
  };
  return table;
}

const std::vector<Form2::KeyPressBinding>& Form2::keyPressTable() {
  static const std::vector<KeyPressBinding> table = {
      {"Text1", &Form2::Text1_KeyPress},   {"Text2", &Form2::Text2_KeyPress},
      {"Text3", &Form2::Text3_KeyPress},   {"Text4", &Form2::Text4_KeyPress},
      {"Text5", &Form2::Text5_KeyPress},   {"Text6", &Form2::Text6_KeyPress},
      {"Text7", &Form2::Text7_KeyPress},   {"Text8", &Form2::Text8_KeyPress},
      {"Text10", &Form2::Text10_KeyPress},
  };
  return table;
}

namespace {

template <class T>
T& named(T* found, const char* name) {
  if (!found) throw std::logic_error(std::string("Form2 has no control named ") + name);
  return *found;
}

}  // namespace

namespace {

bool isSubtitleFileName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".srt";
}

}  // namespace

MenuItem* Form2::findKeyItem(const std::string& name) const {
  if (MenuItem* item = findMenu(name)) return item;
  for (const BorrowedShortcut& key : borrowedShortcuts) {
    if (key.item->name() == name) return key.item;
  }
  return nullptr;
}

void Form2::bindFileDrops() {
  // A subtitle file dropped on the window opens as File > Open would open it; any file
  // dropped on the video panel plays as "Open..." would play it, whatever its name.
  fileDrop = {isSubtitleFileName, [this](const std::string& path) { openSubtitleFile(path); }};
  for (Control* c : {static_cast<Control*>(&WMP), static_cast<Control*>(&Text12), &Command5}) {
    c->fileDrop = {[](const std::string&) { return true; },
                   [this](const std::string& path) { openVideoFile(path); }};
  }
}

void Form2::bindHandlers() {
  bindFileDrops();
  for (const ClickBinding& b : clickTable()) {
    std::function<void()> call = [this, handler = b.handler] { (this->*handler)(); };
    if (MenuItem* item = findKeyItem(b.name)) {
      item->onClick = std::move(call);
    } else {
      named(find(b.name), b.name).onClick = std::move(call);
    }
  }
  for (const ChangeBinding& b : changeTable()) {
    named(findTextBox(b.name), b.name).onChange = [this, handler = b.handler] {
      (this->*handler)();
    };
  }
  for (const KeyPressBinding& b : keyPressTable()) {
    named(findTextBox(b.name), b.name).onKeyPress = [this, handler = b.handler](int& code) {
      (this->*handler)(code);
    };
  }
}

}  // namespace obrel
