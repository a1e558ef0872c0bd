#include "tools/obrel-drive/driver.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <ostream>

#include "platform/numbers.h"
#include "platform/utf8.h"
#include "tools/obrel-drive/events.h"
#include "tools/obrel-drive/values.h"

namespace obrel::drive {

namespace {

const char* const kForms[] = {"Form1", "Form2", "Form3", "Form4"};

bool isFormName(const std::string& name) {
  for (const char* f : kForms) {
    if (name == f) return true;
  }
  return false;
}

void need(bool condition, const char* message) {
  if (!condition) throw ScriptError(message);
}

long long wholeNumber(const Word& word, const char* what) {
  need(!word.quoted && !word.text.empty(), what);
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(word.text, &used);
  } catch (const std::exception&) {
    throw ScriptError(what);
  }
  need(used == word.text.size(), what);
  return value;
}

Answer parseAnswer(const Word& word) {
  if (word.text == "OK") return Answer::OK;
  if (word.text == "Yes") return Answer::Yes;
  if (word.text == "No") return Answer::No;
  if (word.text == "Cancel") return Answer::Cancel;
  throw ScriptError("answer takes OK, Yes, No or Cancel");
}

std::string quoted(const std::vector<Word>& words, std::size_t i, const char* what) {
  need(i < words.size() && words[i].quoted, what);
  return words[i].text;
}

// COMMAND "TEXT" or COMMAND cancel.
std::optional<std::string> textOrCancel(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2, usage);
  if (words[1].quoted) return words[1].text;
  need(words[1].text == "cancel", usage);
  return std::nullopt;
}

// COMMAND "PATH".
std::string onlyPath(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2, usage);
  return quoted(words, 1, usage);
}

// COMMAND NAME, NAME unquoted.
const std::string& onlyName(const std::vector<Word>& words, const char* usage) {
  need(words.size() == 2 && !words[1].quoted, usage);
  return words[1].text;
}

}  // namespace

Driver::Driver(std::string folder, bool splash, std::ostream& out)
    : out_(out),
      program_(Services{prompts_, dialogs_, player_, browser_, files_, std::move(folder)}) {
  // Each event is printed as it happens, between the lines of the handler's other events.
  prompts_.onMessageBox = [this](const fake::MessageBoxShown& box) {
    if (box.refused) error(std::string(fake::answerName(*box.refused)) + " is not a button of this box");
    say(messageBoxLine(box));
  };
  prompts_.onInputBox = [this](const fake::InputBoxShown& box) { say(inputBoxLine(box)); };
  dialogs_.onDialog = [this](const fake::DialogShown& dialog) { say(dialogLine(dialog)); };
  browser_.onOpen = [this](const std::string& url) { say(browserLine(url)); };
  gate_.afterOutermost = [this] {
    program_.collect();
    if (program_.ended() && !exitReported_) {
      exitReported_ = true;
      say("exit");
    }
  };
  if (splash) {
    program_.startWithSplash();
  } else {
    program_.startMain();
  }
}

void Driver::say(const std::string& line) { out_ << line << '\n'; }

void Driver::error(const std::string& message) { say("error: " + message); }

template <class F>
void Driver::handle(const char* where, F&& f) {
  gate_.run(where, std::forward<F>(f));
}

bool Driver::run(std::string_view line, int number) {
  std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return true;
  std::vector<Word> words;
  try {
    words = splitWords(line);
    need(!words.empty() && !words[0].quoted, "a line starts with a command word");
    if (exitReported_) {
      error("the program has ended");
      return true;
    }
    execute(words);
  } catch (const ScriptError& e) {
    error("line " + std::to_string(number) + ": " + e.what());
    return false;
  }
  out_.flush();
  return true;
}

void Driver::finish() {
  for (Answer a : prompts_.answers) say(std::string("unused: answer ") + fake::answerName(a));
  for (const auto& r : prompts_.replies) say("unused: reply " + (r ? quote(*r) : "cancel"));
  for (const auto& c : dialogs_.choices) say("unused: choose " + (c ? quote(*c) : "cancel"));
  out_.flush();
}

const std::map<std::string_view, Driver::Command>& Driver::commandTable() {
  static const std::map<std::string_view, Command> table = {
      {"answer", &Driver::answer},     {"reply", &Driver::reply},
      {"choose", &Driver::choose},     {"position", &Driver::position},
      {"write", &Driver::writeFile},   {"mkdir", &Driver::makeFolder},
      {"remove", &Driver::removePath}, {"readonly", &Driver::makeReadOnly},
      {"print", &Driver::print},       {"focus", &Driver::focus},
      {"type", &Driver::type},         {"key", &Driver::key},
      {"caret", &Driver::caret},       {"selectall", &Driver::selectAll},
      {"edit", &Driver::edit},         {"click", &Driver::click},
      {"menu", &Driver::menu},         {"shortcut", &Driver::shortcut},
      {"activate", &Driver::activate}, {"close", &Driver::closeWindow},
      {"tick", &Driver::tick},
  };
  return table;
}

void Driver::execute(const Words& words) {
  const auto found = commandTable().find(words[0].text);
  if (found == commandTable().end()) throw ScriptError("unknown command " + words[0].text);
  (this->*found->second)(words);
}

void Driver::answer(const Words& words) {
  need(words.size() >= 2, "answer takes one or more buttons");
  // Each button is queued as it is read, so the ones before a wrong word stay queued.
  for (std::size_t i = 1; i < words.size(); ++i) prompts_.answers.push_back(parseAnswer(words[i]));
}

void Driver::reply(const Words& words) {
  prompts_.replies.push_back(textOrCancel(words, "reply takes \"TEXT\" or cancel"));
}

void Driver::choose(const Words& words) {
  dialogs_.choices.push_back(textOrCancel(words, "choose takes \"PATH\" or cancel"));
}

void Driver::position(const Words& words) {
  const char* usage = "position takes a number of seconds";
  need(words.size() == 2 && !words[1].quoted, usage);
  double seconds = 0;
  try {
    seconds = readNumber(words[1].text);
  } catch (const std::exception&) {
    throw ScriptError(usage);
  }
  player_.setPosition(seconds);
}

void Driver::writeFile(const Words& words) {
  const char* usage = "write takes \"PATH\" \"BYTES\"";
  need(words.size() == 3, usage);
  const std::string path = quoted(words, 1, usage);
  const std::string bytes = quoted(words, 2, usage);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file.flush()) error("cannot write " + quote(path));
}

void Driver::makeFolder(const Words& words) {
  const std::string path = onlyPath(words, "mkdir takes \"PATH\"");
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) error("cannot make " + quote(path));
}

void Driver::removePath(const Words& words) {
  const std::string path = onlyPath(words, "remove takes \"PATH\"");
  std::error_code ec;
  if (!std::filesystem::remove(path, ec)) error("cannot remove " + quote(path));
}

void Driver::makeReadOnly(const Words& words) {
  const std::string path = onlyPath(words, "readonly takes \"PATH\"");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 ||
      ::chmod(path.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
    error("cannot make " + quote(path) + " read-only");
  }
}

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
  if (!b) return;
  if (!b->enabled()) {
    error(name + " is disabled");
  } else if (b->readOnly) {
    error(name + " is read-only");
  } else {
    handle("an edit", [&] { b->setText(text); });
  }
}

void Driver::click(const Words& words) {
  const std::string& name = onlyName(words, "click takes a control");
  Target t;
  if (!resolve(name, t)) return;
  if (!t.control) {
    error(name + " is not a control that can be clicked");
  } else if (!t.control->enabled()) {
    error(name + " is disabled");
  } else if (!t.control->visible()) {
    error(name + " is hidden");
  } else if (t.control->onClick) {
    handle("a click", [&] { t.control->onClick(); });
  }
}

void Driver::menu(const Words& words) {
  const std::string& name = onlyName(words, "menu takes a menu item");
  Target t;
  if (!resolve(name, t)) return;
  if (!t.menu) {
    error(name + " is not a menu item");
  } else if (!t.menu->enabled()) {
    error(name + " is disabled");
  } else if (t.menu->onClick) {
    handle("a menu command", [&] { t.menu->onClick(); });
  }
}

void Driver::shortcut(const Words& words) {
  need(words.size() == 2 && words[1].text == "F12", "shortcut takes F12");
  Form2* main = mainWindow();
  if (!main) return;
  if (program_.active() == main && main->ObrelHelp.enabled()) {
    handle("a shortcut", [&] { main->ObrelHelp.onClick(); });
  }
}

void Driver::activate(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text), "activate takes Form2, Form3 or Form4");
  if (Form* f = openForm(words[1].text)) handle("an activation", [&] { program_.activate(*f); });
}

void Driver::closeWindow(const Words& words) {
  need(words.size() == 2 && isFormName(words[1].text) && words[1].text != "Form1",
       "close takes Form2, Form3 or Form4");
  if (Form* f = openForm(words[1].text)) handle("a close box", [&] { program_.close(*f); });
}

void Driver::tick(const Words& words) {
  const char* usage = "tick takes milliseconds";
  need(words.size() == 2, usage);
  const long long ms = wholeNumber(words[1], usage);
  need(ms >= 0, usage);
  advanceClock(ms);
}

Form2* Driver::mainWindow() {
  if (!program_.form2()) error("Form2 is not open");
  return program_.form2();
}

Form* Driver::openForm(const std::string& name) {
  for (Form* f : program_.windows()) {
    if (f->name() == name) return f;
  }
  error(name + " is not open");
  return nullptr;
}

bool Driver::resolve(const std::string& name, Target& target) {
  std::string formName = "Form2";
  std::string control = name;
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos && isFormName(name.substr(0, dot))) {
    formName = name.substr(0, dot);
    control = name.substr(dot + 1);
  }
  target.form = openForm(formName);
  if (!target.form) return false;
  target.control = target.form->find(control);
  target.menu = target.form->findMenu(control);
  if (!target.control && !target.menu) {
    error(name + " is not a control");
    return false;
  }
  return true;
}

TextBox* Driver::box(const std::string& name) {
  Target t;
  if (!resolve(name, t)) return nullptr;
  if (!t.control || t.control->kind() != ControlKind::TextBox) {
    error(name + " is not a text box");
    return nullptr;
  }
  return static_cast<TextBox*>(t.control);
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

void Driver::advanceClock(long long ms) {
  // Timers fire in steps, so a timer started by another one's handler counts from then.
  while (ms > 0 && !program_.ended()) {
    Timer* next = nullptr;
    long long wait = ms + 1;
    for (Form* f : program_.windows()) {
      for (Control* c : f->controls()) {
        if (c->kind() != ControlKind::Timer || !c->enabled()) continue;
        auto* timer = static_cast<Timer*>(c);
        const long long left = timer->intervalMs - timerElapsed_[timer];
        if (left < wait) {
          wait = left;
          next = timer;
        }
      }
    }
    const long long step = next ? wait : ms;
    for (auto& [timer, elapsed] : timerElapsed_) elapsed += step;
    ms -= step;
    if (next) {
      timerElapsed_[next] = 0;
      handle("a timer", [&] { next->onTimer(); });
    }
    // Timers that stopped or closed with their window start from zero again.
    std::erase_if(timerElapsed_, [&](const auto& item) {
      for (Form* f : program_.windows()) {
        for (Control* c : f->controls()) {
          if (c == item.first && c->enabled()) return false;
        }
      }
      return true;
    });
  }
}

void Driver::print(const Words& words) {
  need(words.size() >= 2, "print takes what to print");
  for (std::size_t i = 1; i < words.size(); ++i) {
    need(!words[i].quoted, "print takes names");
    if (!printOne(words, i)) return;
  }
}

const std::map<std::string_view, Driver::Printer>& Driver::printTable() {
  static const std::map<std::string_view, Printer> table = {
      {"file", &Driver::printFile},       {"windows", &Driver::printWindows},
      {"active", &Driver::printActive},   {"focus", &Driver::printFocus},
      {"entry", &Driver::printEntry},     {"entries", &Driver::printEntries},
  };
  return table;
}

bool Driver::printOne(const Words& words, std::size_t& i) {
  const std::string& what = words[i].text;
  const auto own = printTable().find(what);
  if (own != printTable().end()) return (this->*own->second)(words, i);
  const std::optional<std::string> value = valueOf(what);
  if (value) say(what + " = " + *value);
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
    if (!program_.form2()->store.at(k).empty()) say(entryLine(k));
  }
  return true;
}

std::string Driver::entryLine(int k) {
  const Entry& e = program_.form2()->store.at(k);
  std::string line = "entry ";
  line += std::to_string(k);
  line += " =";
  for (const std::string* v : {&e.EntryText, &e.EntryTiming, &e.StartHours, &e.StartMinutes,
                               &e.StartSeconds, &e.StartMillis, &e.EndHours, &e.EndMinutes,
                               &e.EndSeconds, &e.EndMillis}) {
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
  } else if (ValueOf<Control> value = controlProperty(property)) {
    return value(*t.control);
  }
  error(who + " has no " + property);
  return std::nullopt;
}

}  // namespace obrel::drive
