#pragma once
// A window's model: caption, size, its controls in stacking order, menus, tab order and
// the keyboard focus. Handlers of a concrete window are members of its subclass.
#include <cstdint>
#include <string>
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
