// The two options of the Options menu: Entry Check and Field Block. Each option is the
// checked mark of its menu item and nothing else.
#include <algorithm>

#include "editor/form2.h"
#include "platform/prompts.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

// A box being disabled cannot keep the focus: it passes to the next box of the tab order
// that can take it, as the window toolkit moves it, so no key lands in a locked field.
void disable(Form& form, TextBox& box) {
  box.setEnabled(false);
  if (form.focus() != &box) return;
  const std::vector<std::string>& order = form.tabOrder();
  const auto at = std::find(order.begin(), order.end(), box.name());
  const std::size_t from = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
  for (std::size_t i = 1; i <= order.size(); ++i) {
    TextBox* next = form.findTextBox(order[(from + i) % order.size()]);
    if (next && form.setFocus(next)) return;
  }
  form.setFocus(nullptr);
}

}  // namespace

void Form2::EntryCheck_Click() { EntryCheck.setChecked(!EntryCheck.checked()); }

void Form2::FBlock_Click() {
  if (FBlock.checked()) {
    FBlock.setChecked(false);
    Text1.setEnabled(true);
    Text5.setEnabled(true);
    return;
  }
  // The reply is taken as typed, unchecked: the commit's completeness check reports an
  // empty one, and the fields' limit cuts a long one.
  DefaultHours =
      services_.prompts
          .inputBox("Enter value which will serve as default hours' entry :", "Enter Value", "0",
                    7000, 3000)
          .value_or("");
  if (utf8::length(DefaultHours) == 1) DefaultHours = "0" + DefaultHours;
  Text1.setText(DefaultHours);
  Text5.setText(DefaultHours);
  FBlock.setChecked(true);
  disable(*this, Text1);
  disable(*this, Text5);
}

}  // namespace obrel
