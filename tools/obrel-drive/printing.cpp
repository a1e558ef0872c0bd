// print: the names with lines of their own (file, entry ...) and the value of any other.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor/form2.h"
#include "shell/form5.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"
#include "tools/obrel-drive/values.h"

namespace obrel::drive {

void Driver::print(const Words& words) {
  need(words.size() >= 2, "print takes what to print");
  for (std::size_t i = 1; i < words.size(); ++i) {
    need(!words[i].quoted, "print takes names");
    if (!printOne(words, i)) return;
  }
}

const std::map<std::string_view, Driver::Printer>& Driver::printTable() {
  static const std::map<std::string_view, Printer> table = {
      {"file", &Driver::printFile},           {"windows", &Driver::printWindows},
      {"active", &Driver::printActive},       {"focus", &Driver::printFocus},
      {"entry", &Driver::printEntry},         {"entries", &Driver::printEntries},
      {"Form5.rows", &Driver::printListRows}, {"Form5.selected", &Driver::printListSelected},
      {"Text9.misspelt", &Driver::printMisspelt},
      {"Text9.suggestions", &Driver::printSuggestions},
  };
  return table;
}

bool Driver::printOne(const Words& words, std::size_t& i) {
  const std::string& what = words[i].text;
  const auto own = printTable().find(what);
  if (own != printTable().end()) return (this->*own->second)(words, i);
  const std::optional<std::string> value = valueOf(what);
  // Only an empty list prints nothing after its name.
  if (value) say(value->empty() ? what + " =" : what + " = " + *value);
  return value.has_value();
}

bool Driver::printFile(const Words& words, std::size_t& i) {
  const std::string path = quoted(words, ++i, "print file takes \"PATH\"");
  std::ifstream file(path, std::ios::binary);
  if (!file || std::filesystem::is_directory(path)) {
    say("file " + quote(path) + " missing");
  } else {
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    say("file " + quote(path) + " = " + quote(bytes, true));
  }
  return true;
}

bool Driver::printWindows(const Words&, std::size_t&) {
  std::string line = "windows =";
  for (Form* f : program_.windows()) line += " " + f->name();
  say(line);
  return true;
}

bool Driver::printActive(const Words&, std::size_t&) {
  say(std::string("active = ") + (program_.active() ? program_.active()->name() : "none"));
  return true;
}

bool Driver::printFocus(const Words&, std::size_t&) {
  Form* f = program_.active();
  std::string name = "none";
  if (f && f->focus()) name = (f->name() == "Form2" ? "" : f->name() + ".") + f->focus()->name();
  say("focus = " + name);
  return true;
}

bool Driver::printEntry(const Words& words, std::size_t& i) {
  if (!mainWindow()) return false;
  need(i + 1 < words.size(), "print entry takes a number");
  const long long k = wholeNumber(words[++i], "print entry takes a number");
  if (k < EntryStore::kFirst || k > EntryStore::kLast) {
    error("there is no entry " + std::to_string(k));
    return false;
  }
  say(entryLine(static_cast<int>(k)));
  return true;
}

bool Driver::printEntries(const Words&, std::size_t&) {
  if (!mainWindow()) return false;
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    if (!program_.form2()->document().store.at(k).empty()) say(entryLine(k));
  }
  return true;
}

bool Driver::printListRows(const Words&, std::size_t&) {
  const auto* list = static_cast<const Form5*>(openForm("Form5"));
  if (!list) return false;
  const EntryRows& rows = list->rows();
  for (int row = 0; row < rows.count(); ++row) {
    std::string line = "row " + std::to_string(row + 1) + " =";
    for (int column = EntryRows::Number; column <= EntryRows::Text; ++column) {
      line += ' ';
      line += quote(rows.cell(row, column));
    }
    say(line);
  }
  return true;
}

bool Driver::printListSelected(const Words&, std::size_t&) {
  const auto* list = static_cast<const Form5*>(openForm("Form5"));
  if (!list) return false;
  const int row = list->List1.selected();
  say("Form5.selected = " + (row < 0 ? std::string("none") : std::to_string(row + 1)));
  return true;
}

std::string Driver::entryLine(int k) {
  const Entry& e = program_.form2()->document().store.at(k);
  std::string line = "entry ";
  line += std::to_string(k);
  line += " =";
  for (const std::string* v :
       {&e.EntryText, &e.EntryTiming, &e.StartHours, &e.StartMinutes, &e.StartSeconds,
        &e.StartMillis, &e.EndHours, &e.EndMinutes, &e.EndSeconds, &e.EndMillis}) {
    line += ' ';
    line += quote(*v);
  }
  return line;
}

std::optional<std::string> Driver::valueOf(const std::string& what) {
  if (ValueOf<Form2> value = mainWindowValue(what)) {
    const Form2* main = mainWindow();
    if (!main) return std::nullopt;
    return value(*main);
  }
  // WHO or WHO.PROPERTY, WHO being a control, a menu item, a window or FORM.CONTROL.
  const std::size_t last = what.rfind('.');
  if (last == std::string::npos) return propertyOf(what, "text");
  const std::string head = what.substr(0, last);
  const std::string tail = what.substr(last + 1);
  if (isFormName(head) && !isFormName(tail) && tail != "caption") return propertyOf(what, "text");
  return propertyOf(head, tail);
}

std::optional<std::string> Driver::propertyOf(const std::string& who, const std::string& property) {
  if (isFormName(who)) {
    const Form* f = openForm(who);
    if (!f) return std::nullopt;
    if (ValueOf<Form> value = windowProperty(property)) return value(*f);
    error("a window has no " + property);
    return std::nullopt;
  }
  if (ValueOf<MediaPlayer> value = who == "WMP" ? playerProperty(property) : nullptr) {
    if (!openForm("Form2")) return std::nullopt;
    return value(player_);
  }
  Target t;
  if (!resolve(who, t)) return std::nullopt;
  if (t.menu) {
    if (ValueOf<MenuItem> value = menuProperty(property)) return value(*t.menu);
  } else if (ValueOf<Control> value = controlProperty(*t.control, property)) {
    return value(*t.control);
  }
  error(who + " has no " + property);
  return std::nullopt;
}

}  // namespace obrel::drive
