#include "platform/form.h"

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

TextBox* Form::findTextBox(const std::string& name) const {
  Control* c = find(name);
  return c && c->kind() == ControlKind::TextBox ? static_cast<TextBox*>(c) : nullptr;
}

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

}  // namespace obrel
