// What the user does: focus, typing, edits, clicks, menus, shortcuts, windows.
#include "editor/form2.h"
#include "platform/controls.h"
#include "platform/key_names.h"
#include "platform/utf8.h"
#include "shell/form5.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

void Driver::focus(const Words& words) { focusOn(onlyName(words, "focus takes a box")); }

void Driver::focusOn(const std::string& name) {
  TextBox* b = box(name);
  if (!b || !reachable(name)) return;
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
    // Nothing is typed when the box refused the focus (a wrong name is reported again), or
    // a modal window keeps the user from it.
    Target t;
    if (!resolve(words[1].text, t) || program_.blockedBy(*t.form) ||
        t.form->focus() != box(words[1].text))
      return;
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
  TextBox* b = box(words[1].text);
  if (b && reachable(words[1].text)) b->setCaret(static_cast<std::size_t>(at));
}

void Driver::selectAll(const Words& words) {
  const std::string& name = onlyName(words, "selectall takes a box");
  TextBox* b = box(name);
  if (b && reachable(name)) b->selectAll();
}

void Driver::edit(const Words& words) {
  const char* usage = "edit takes BOX \"TEXT\"";
  need(words.size() == 3 && !words[1].quoted, usage);
  const std::string& name = words[1].text;
  const std::string text = quoted(words, 2, usage);
  TextBox* b = box(name);
  if (!b || !reachable(name) || !usable(name, b->enabled(), true)) return;
  if (b->readOnly) {
    error(name + " is read-only");
  } else {
    handle("an edit", [&] { b->setText(text); });
  }
}

void Driver::click(const Words& words) {
  const std::string& name = onlyName(words, "click takes a control");
  Control* c = control(name, " is not a control that can be clicked");
  if (!c || !reachable(name) || !usable(name, c->enabled(), c->visible())) return;
  Target t;
  resolve(name, t);
  handle("a click", [&] { t.form->click(*c); });
}

void Driver::menu(const Words& words) {
  const std::string& name = onlyName(words, "menu takes a menu item");
  MenuItem* item = menuItem(name);
  if (item && reachable(name)) press(name, "a menu command", item->enabled(), true, item->onClick);
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
  const char* usage = "shortcut takes keys such as F12, Shift+F3 or Ctrl+Shift+T";
  need(words.size() == 2 && !words[1].quoted, usage);
  const std::optional<std::string> keys = canonicalKeys(words[1].text);
  need(keys.has_value(), usage);
  if (!mainWindow()) return;
  // Keys that no window declares are a script's mistake; keys that only another window than
  // the active one declares do nothing, as in the windows.
  bool declared = false;
  for (Form* f : program_.windows()) declared = declared || f->shortcutItem(*keys);
  if (!declared) {
    error("no menu item has the shortcut " + *keys);
    return;
  }
  MenuItem* item = program_.active() ? program_.active()->shortcutItem(*keys) : nullptr;
  if (item && item->enabled() && item->onClick) handle("a shortcut", [&] { item->onClick(); });
}

void Driver::activate(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text), "activate takes Form2 .. Form9");
  Form* f = openForm(words[1].text);
  if (f && reachable(*f)) handle("an activation", [&] { program_.activate(*f); });
}

void Driver::closeWindow(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text) && words[1].text != "Form1",
       "close takes Form2 .. Form9");
  Form* f = openForm(words[1].text);
  if (f && reachable(*f)) handle("a close box", [&] { program_.close(*f); });
}

void Driver::pick(const Words& words) {
  const char* usage = "pick takes Form5 N";
  need(words.size() == 3 && words[1].text == "Form5" && !words[1].quoted, usage);
  const long long row = wholeNumber(words[2], usage);
  auto* list = static_cast<Form5*>(openForm("Form5"));
  if (!list || !reachable(*list)) return;
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
  handle("a key press", [&] { form->typeInto(*target, code); });
}

bool Driver::reachable(const Form& form) {
  Form* modal = program_.blockedBy(form);
  if (modal) error(form.name() + " cannot be used while " + modal->name() + " is open");
  return !modal;
}

bool Driver::reachable(const std::string& name) {
  Target t;
  return resolve(name, t) && reachable(*t.form);
}

}  // namespace obrel::drive
