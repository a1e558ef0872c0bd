#include "platform/form.h"

#include "platform/key_names.h"

namespace obrel {

void Form::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ++captionRevision;
}

Control* Form::find(const std::string& name) const {
  for (Control* c : controls_) {
    if (c->name() == name) return c;
  }
  return nullptr;
}

TextBox* Form::findTextBox(const std::string& name) const { return asTextBox(find(name)); }

MenuItem* Form::findMenu(const std::string& name) const {
  for (MenuItem* m : menus_) {
    if (m->name() == name) return m;
  }
  return nullptr;
}

bool Form::setFocus(TextBox* box) {
  if (box && (!box->enabled() || !box->visible() || box->covered())) return false;
  focus_ = box;
  if (box) box->setCaret(box->text().size());
  ++focusRevision_;
  return true;
}

void Form::focusFirst() {
  for (const std::string& name : tabOrder_) {
    TextBox* box = findTextBox(name);
    if (box && setFocus(box)) return;
  }
}

void Form::click(Control& control) {
  if (!control.enabled() || !control.visible()) return;
  if (control.kind() == ControlKind::CheckBox) {
    auto& check = static_cast<CheckBox&>(control);
    check.setChecked(!check.checked());
  } else if (control.kind() == ControlKind::OptionButton) {
    select(static_cast<OptionButton&>(control));
  }
  if (control.onClick) control.onClick();
}

void Form::select(OptionButton& option) {
  for (Control* c : controls_) {
    if (c != &option && c->kind() == ControlKind::OptionButton && c->container == option.container)
      static_cast<OptionButton*>(c)->setChecked(false);
  }
  option.setChecked(true);
}

Control* Form::keyButton(int code, const TextBox* box) const {
  if (code == kEnter && !(box && box->multiLine)) return defaultButton;
  if (code == kEscape) return cancelButton;
  return nullptr;
}

void Form::typeInto(TextBox& box, int code, const std::function<void(int kept)>& apply) {
  if (Control* button = keyButton(code, &box)) {
    click(*button);
  } else {
    typeKey(box, code, apply);
  }
}

MenuItem* Form::shortcutItem(std::string_view keys) const {
  for (MenuItem* item : menus_) {
    if (!item->shortcut.empty() && canonicalKeys(item->shortcut) == keys) return item;
  }
  for (const BorrowedShortcut& borrowed : borrowedShortcuts) {
    if (canonicalKeys(borrowed.keys) == keys) return borrowed.item;
  }
  return nullptr;
}

}  // namespace obrel
