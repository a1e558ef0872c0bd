#include "tools/obrel-drive/values.h"

#include <map>

#include "editor/form2.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/media_player.h"
#include "platform/utf8.h"
#include "preview/styled_text.h"
#include "tools/obrel-drive/script.h"

namespace obrel::drive {

namespace {

template <class T>
using ValueTable = std::map<std::string_view, ValueOf<T>>;

template <class T>
ValueOf<T> lookUp(const ValueTable<T>& table, std::string_view name) {
  const auto found = table.find(name);
  return found == table.end() ? nullptr : found->second;
}

std::string boolText(bool on) { return on ? "true" : "false"; }

const ValueTable<Form2>& mainWindowValueTable() {
  static const ValueTable<Form2> table = {
      {"CurrentIndex", [](const Form2& m) { return std::to_string(m.CurrentIndex); }},
      {"ChangeCount", [](const Form2& m) { return std::to_string(m.ChangeCount); }},
      {"ProceedFlag", [](const Form2& m) { return std::to_string(m.ProceedFlag); }},
      {"SavedIndex", [](const Form2& m) { return std::to_string(m.SavedIndex); }},
      {"BlankCount", [](const Form2& m) { return std::to_string(m.BlankCount); }},
      {"CurrentFile", [](const Form2& m) { return quote(m.document().CurrentFile); }},
      {"DefaultHours", [](const Form2& m) { return quote(m.DefaultHours); }},
      {"HelpTextPath", [](const Form2& m) { return quote(m.HelpTextPath); }},
      {"VideoPath", [](const Form2& m) { return quote(m.VideoPath); }},
      {"LastLine", [](const Form2& m) { return quote(m.LastLine); }},
  };
  return table;
}

std::string windowCaption(const Form& f) { return quote(f.caption()); }

const ValueTable<Form>& windowPropertyTable() {
  static const ValueTable<Form> table = {{"caption", windowCaption}, {"text", windowCaption}};
  return table;
}

const ValueTable<MediaPlayer>& playerPropertyTable() {
  static const ValueTable<MediaPlayer> table = {
      {"URL", [](const MediaPlayer& p) { return quote(p.url()); }},
      {"position", [](const MediaPlayer& p) { return number(p.position()); }},
      {"enabled", [](const MediaPlayer& p) { return boolText(p.enabled()); }},
      {"subtitle", [](const MediaPlayer& p) { return quote(screenText(p.subtitles())); }},
  };
  return table;
}

std::string menuCaption(const MenuItem& m) { return quote(m.caption()); }

// own with the properties that menu items and controls share, text being how T shows its
// text.
template <class T>
ValueTable<T> withSharedProperties(ValueOf<T> text, ValueTable<T> own) {
  own.emplace("text", text);
  own.emplace("caption", text);
  own.emplace("enabled", [](const T& of) { return boolText(of.enabled()); });
  return own;
}

const ValueTable<MenuItem>& menuPropertyTable() {
  static const ValueTable<MenuItem> table = withSharedProperties<MenuItem>(
      menuCaption, {
                       {"checked", [](const MenuItem& m) { return boolText(m.checked()); }},
                       // A menu item has no hidden state: it always shows.
                       {"visible", [](const MenuItem&) { return boolText(true); }},
                   });
  return table;
}

// A text box's (or combo box's) text; the caption of any other control.
std::string controlText(const Control& c) {
  const TextBox* box = asTextBox(&c);
  return quote(box ? box->text() : c.caption());
}

// A combo box's items, each quoted, separated by blanks.
std::string comboItems(const Control& c) {
  std::string line;
  for (const std::string& item : static_cast<const ComboBox&>(c).items()) {
    if (!line.empty()) line += ' ';
    line += quote(item);
  }
  return line;
}

// A box's selection: its first character and length, counted as the caret is, and its text.
std::string boxSelection(const Control& c) {
  const TextBox& box = *asTextBox(&c);
  const std::size_t from = utf8::offset(box.text(), box.selectionStart());
  const std::size_t to = utf8::offset(box.text(), box.selectionStart() + box.selectionLength());
  return std::to_string(box.selectionStart()) + " " + std::to_string(box.selectionLength()) + " " +
         quote(box.text().substr(from, to - from));
}

const ValueTable<Control>& controlPropertyTable() {
  static const ValueTable<Control> table = withSharedProperties<Control>(
      controlText, {
                       {"visible", [](const Control& c) { return boolText(c.visible()); }},
                       {"height", [](const Control& c) { return std::to_string(c.height()); }},
                   });
  return table;
}

}  // namespace

ValueOf<Form2> mainWindowValue(std::string_view name) {
  return lookUp(mainWindowValueTable(), name);
}

ValueOf<Form> windowProperty(std::string_view property) {
  return lookUp(windowPropertyTable(), property);
}

ValueOf<MediaPlayer> playerProperty(std::string_view property) {
  return lookUp(playerPropertyTable(), property);
}

ValueOf<MenuItem> menuProperty(std::string_view property) {
  return lookUp(menuPropertyTable(), property);
}

ValueOf<Control> controlProperty(const Control& control, std::string_view property) {
  if (hasMark(control) && property == "checked") {
    return [](const Control& c) { return boolText(markOf(c)); };
  }
  if (control.kind() == ControlKind::ComboBox && property == "items") return comboItems;
  if (asTextBox(&control) && property == "selection") return boxSelection;
  return lookUp(controlPropertyTable(), property);
}

}  // namespace obrel::drive
