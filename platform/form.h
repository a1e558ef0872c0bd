#pragma once
// A window's model: caption, size, its controls in stacking order, menus, tab order and
// the keyboard focus. Handlers of a concrete window are members of its subclass.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace obrel {

enum class Border { None, FixedSingle };

// Keys that run a menu item of another window while this one is active ("Ctrl+Z").
struct BorrowedShortcut {
  std::string keys;
  MenuItem* item;
};

class Form {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  // Definition.
  int clientWidth = 0;   // twips
  int clientHeight = 0;  // twips
  Border border = Border::FixedSingle;
  bool minButton = false;
  bool maxButton = false;
  // While a modal window is open the user can activate and use no other window of the
  // program (Program::blockedBy); its views show it without waiting for it to close.
  bool modal = false;
  // The buttons Enter and Escape press (keyButton); nullptr when the window has none.
  Control* defaultButton = nullptr;
  Control* cancelButton = nullptr;

  // Controls from the bottom of the stacking order to the top.
  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<MenuItem*>& menus() const { return menus_; }
  const std::vector<std::string>& tabOrder() const { return tabOrder_; }
  Control* find(const std::string& name) const;
  TextBox* findTextBox(const std::string& name) const;
  MenuItem* findMenu(const std::string& name) const;

  // A file dropped on the window where no control takes it.
  FileDrop fileDrop;
  std::vector<BorrowedShortcut> borrowedShortcuts;

  // Brings what the window shows from other windows' models up to date; the views call it
  // once after each user event.
  virtual void refresh() {}
  // Runs each time the window becomes the active one (the program calls it); it opens and
  // closes no window.
  virtual void Form_Activate() {}

  // The user's click on control, one of this window's: a check box toggles, an option button
  // is selected, then its click handler runs. A disabled or hidden control takes no click.
  void click(Control& control);
  // Selects option and clears the other option buttons of its container; no handler runs.
  void select(OptionButton& option);

  // The button a key presses instead of being typed: Enter the default button (except in a
  // multi-line box, where it starts a new line), Escape the cancel button. nullptr when the
  // key is typed; box is the box it was typed into, nullptr for any other control.
  Control* keyButton(int code, const TextBox* box) const;
  // A key typed into box, one of this window's: it presses its keyButton, if any (the box's
  // key handler never sees it), and otherwise goes through typeKey.
  void typeInto(TextBox& box, int code, const std::function<void(int kept)>& apply = {});

  // The item keys (as canonicalKeys spells them) run in this window: an item of its menus
  // that declares them, else a borrowed one; nullptr when none.
  MenuItem* shortcutItem(std::string_view keys) const;

  // Keyboard focus among the text boxes; nullptr when no box has it.
  TextBox* focus() const { return focus_; }
  // Moves the focus to box; a disabled, hidden or covered box cannot take it (returns false).
  // The caret goes to the end of the box's text and its selection ends.
  bool setFocus(TextBox* box);
  // The focus goes to the first box of the tab order that can take it.
  void focusFirst();
  std::uint64_t focusRevision() const { return focusRevision_; }

 protected:
  void add(Control& control) { controls_.push_back(&control); }
  void add(MenuItem& item) { menus_.push_back(&item); }
  void setTabOrder(std::vector<std::string> order) { tabOrder_ = std::move(order); }

 private:
  std::string name_;
  std::string caption_;
  std::vector<Control*> controls_;
  std::vector<MenuItem*> menus_;
  std::vector<std::string> tabOrder_;
  TextBox* focus_ = nullptr;
  std::uint64_t focusRevision_ = 0;

 public:
  std::uint64_t captionRevision = 0;
};

}  // namespace obrel
