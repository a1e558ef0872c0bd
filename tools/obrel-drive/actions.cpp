// What the user does: focus, typing, edits, clicks, menus, the shortcut, windows.
#include "editor/form2.h"
#include "platform/controls.h"
#include "platform/utf8.h"
#include "shell/form5.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

void Driver::focus(const Words& words) { focusOn(onlyName(words, "focus takes a box")); }

void Driver::focusOn(const std::string& name) {
  TextBox* b = box(name);
  if (!b) return;
  Target t;
  resolve(name, t);
  if (!b->enabled() || !b->visible() || !t.form->setFocus(b)) {
    error(name + " cannot take the focus");
  } else {
    program_.activate(*t.form);
  }
}

void Driver::type(const Words& words) {
  const char* usage = "type takes [BOX] \"TEXT\"";
  const std::size_t n = words.size();
  need(n == 2 || n == 3, usage);
  if (n == 3) {
    need(!words[1].quoted, usage);
    focusOn(words[1].text);
    // Nothing is typed when the box refused the focus (a wrong name is reported again).
    Target t;
    if (!resolve(words[1].text, t) || t.form->focus() != box(words[1].text)) return;
  }
  const std::string text = quoted(words, n - 1, usage);
  std::size_t i = 0;
  while (i < text.size() && !program_.ended()) pressKey(static_cast<int>(utf8::next(text, i)));
}

void Driver::key(const Words& words) {
  const char* usage = "key takes a character code";
  need(words.size() == 2, usage);
  pressKey(static_cast<int>(wholeNumber(words[1], usage)));
}

void Driver::caret(const Words& words) {
  const char* usage = "caret takes BOX N";
  need(words.size() == 3 && !words[1].quoted, usage);
  const long long at = wholeNumber(words[2], usage);
  need(at >= 0, usage);
  if (TextBox* b = box(words[1].text)) b->setCaret(static_cast<std::size_t>(at));
}

void Driver::selectAll(const Words& words) {
  if (TextBox* b = box(onlyName(words, "selectall takes a box"))) b->selectAll();
}

void Driver::edit(const Words& words) {
  const char* usage = "edit takes BOX \"TEXT\"";
  need(words.size() == 3 && !words[1].quoted, usage);
  const std::string& name = words[1].text;
  const std::string text = quoted(words, 2, usage);
  TextBox* b = box(name);
  if (!b || !usable(name, b->enabled(), true)) return;
  if (b->readOnly) {
    error(name + " is read-only");
  } else {
    handle("an edit", [&] { b->setText(text); });
  }
}

void Driver::click(const Words& words) {
  const std::string& name = onlyName(words, "click takes a control");
  Control* c = control(name, " is not a control that can be clicked");
  if (c) press(name, "a click", c->enabled(), c->visible(), c->onClick);
}

void Driver::menu(const Words& words) {
  const std::string& name = onlyName(words, "menu takes a menu item");
  MenuItem* item = menuItem(name);
  if (item) press(name, "a menu command", item->enabled(), true, item->onClick);
}

void Driver::press(const std::string& name, const char* where, bool enabled, bool visible,
                   const std::function<void()>& onClick) {
  if (usable(name, enabled, visible) && onClick) handle(where, [&] { onClick(); });
}

bool Driver::usable(const std::string& name, bool enabled, bool visible) {
  if (!enabled) {
    error(name + " is disabled");
  } else if (!visible) {
    error(name + " is hidden");
  }
  return enabled && visible;
}

void Driver::shortcut(const Words& words) {
  need(words.size() == 2 && (words[1].text == "F11" || words[1].text == "F12"),
       "shortcut takes F11 or F12");
  Form2* main = mainWindow();
  if (!main) return;
  MenuItem& item = words[1].text == "F11" ? main->EntryList : main->ObrelHelp;
  if (program_.active() == main && item.enabled()) {
    handle("a shortcut", [&] { item.onClick(); });
  }
}

void Driver::activate(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text), "activate takes Form2 .. Form5");
  if (Form* f = openForm(words[1].text)) handle("an activation", [&] { program_.activate(*f); });
}

void Driver::closeWindow(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text) && words[1].text != "Form1",
       "close takes Form2 .. Form5");
  if (Form* f = openForm(words[1].text)) handle("a close box", [&] { program_.close(*f); });
}

void Driver::pick(const Words& words) {
  const char* usage = "pick takes Form5 N";
  need(words.size() == 3 && words[1].text == "Form5" && !words[1].quoted, usage);
  const long long row = wholeNumber(words[2], usage);
  auto* list = static_cast<Form5*>(openForm("Form5"));
  if (!list) return;
  if (row < 1 || row > list->rows().count()) {
    error("Form5 has no row " + std::to_string(row));
    return;
  }
  handle("a pick", [&] { list->List1_Pick(static_cast<int>(row - 1)); });
}

void Driver::pressKey(int code) {
  Form* form = program_.active();
  TextBox* target = form ? form->focus() : nullptr;
  if (!target) {
    error("no box has the focus");
    return;
  }
  handle("a key press", [&] { typeKey(*target, code); });
}

}  // namespace obrel::drive
