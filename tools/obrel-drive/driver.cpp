#include "tools/obrel-drive/driver.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "document/file_limits.h"
#include "testing/sample_windows.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/events.h"

namespace obrel::drive {

Driver::Driver(std::string folder, bool splash, std::ostream& out, bool sampleWindows)
    : out_(out),
      recoveryFolder_(recoveryFolderPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
                      kLargestRecoveryCopy),
      // Written at once: the driver has no worker thread.
      recovery_(recoveryFolder_, [](const std::function<void()>& job) { job(); }),
      program_(Services{prompts_, dialogs_, player_, browser_, files_, std::move(folder)}) {
  program_.keepRecoveryCopies(recovery_);
  // The box that tells a failure to keep the copy is printed; standard error stays for
  // failures that escape a handler.
  recovery_.toldOnStandardError = false;
  // Each event is printed as it happens, between the lines of the handler's other events.
  prompts_.onMessageBox = [this](const fake::MessageBoxShown& box) {
    if (box.refused) {
      error(std::string(fake::answerName(*box.refused)) + " is not a button of this box");
    }
    say(messageBoxLine(box));
  };
  prompts_.onInputBox = [this](const fake::InputBoxShown& box) { say(inputBoxLine(box)); };
  dialogs_.onDialog = [this](const fake::DialogShown& dialog) { say(dialogLine(dialog)); };
  browser_.onOpen = [this](const std::string& url) { say(browserLine(url)); };
  player_.onPlaySpan = [this](std::int64_t from, std::int64_t to) { say(playSpanLine(from, to)); };
  gate_.afterOutermost = [this] {
    program_.collect();
    program_.afterEvent();
    if (program_.ended() && !exitReported_) {
      exitReported_ = true;
      say("exit");
    }
  };
  gate_.afterEach = [this] { program_.refresh(); };
  if (sampleWindows) fake::declareSampleWindows(program_);
  if (splash) {
    program_.startWithSplash();
  } else {
    program_.startMain(false);
    if (sampleWindows) program_.showToolWindow("Form6");
    offerPending_ = true;
  }
}

void Driver::say(const std::string& line) { out_ << line << '\n'; }

void Driver::error(const std::string& message) { say("error: " + message); }

void Driver::handle(const char* where, const std::function<void()>& handler) {
  gate_.run(where, handler);
}

bool Driver::run(std::string_view line, int number) {
  std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return true;
  const std::string where = "line " + std::to_string(number) + ": ";
  const SplitLine split = splitWords(line);
  if (!split.error.empty()) {
    error(where + split.error);
    return false;
  }
  const std::vector<Word>& words = split.words;
  try {
    need(!words.empty() && !words[0].quoted, "a line starts with a command word");
    if (exitReported_) {
      error("the program has ended");
      return true;
    }
    static const std::string_view kAnswers[] = {"answer", "reply", "choose", "position"};
    if (offerPending_ &&
        std::find(std::begin(kAnswers), std::end(kAnswers), words[0].text) == std::end(kAnswers)) {
      offerPending_ = false;
      handle("start", [this] { program_.offerRecovery(); });
      tellRecoveryFailure();
    }
    execute(words);
    tellRecoveryFailure();
  } catch (const ScriptError& e) {
    error(where + e.what());
    return false;
  }
  out_.flush();
  return true;
}

void Driver::tellRecoveryFailure() {
  if (!crashed_ && program_.recoveryFailureWaiting()) {
    handle("recovery", [this] { program_.tellRecoveryFailure(); });
  }
}

void Driver::finish() {
  if (crashed_) return;
  if (offerPending_) {
    offerPending_ = false;
    handle("start", [this] { program_.offerRecovery(); });
    tellRecoveryFailure();
  }
  handle("end", [this] { program_.endNormally(); });
  for (Answer a : prompts_.answers) say(std::string("unused: answer ") + fake::answerName(a));
  for (const auto& r : prompts_.replies) say("unused: reply " + (r ? quote(*r) : "cancel"));
  for (const auto& c : dialogs_.choices) say("unused: choose " + (c ? quote(*c) : "cancel"));
  out_.flush();
}

const std::map<std::string_view, Driver::Command>& Driver::commandTable() {
  static const std::map<std::string_view, Command> table = {
      // Answers for the stand-ins.
      {"answer", &Driver::answer},
      {"reply", &Driver::reply},
      {"choose", &Driver::choose},
      {"position", &Driver::position},
      // Files.
      {"write", &Driver::writeFile},
      {"mkdir", &Driver::makeFolder},
      {"remove", &Driver::removePath},
      {"readonly", &Driver::makeReadOnly},
      // The user.
      {"focus", &Driver::focus},
      {"type", &Driver::type},
      {"key", &Driver::key},
      {"caret", &Driver::caret},
      {"selectall", &Driver::selectAll},
      {"edit", &Driver::edit},
      {"click", &Driver::click},
      {"menu", &Driver::menu},
      {"shortcut", &Driver::shortcut},
      {"activate", &Driver::activate},
      {"close", &Driver::closeWindow},
      {"pick", &Driver::pick},
      // Time, and what the program shows.
      {"tick", &Driver::tick},
      {"crash", &Driver::crash},
      {"print", &Driver::print},
  };
  return table;
}

void Driver::execute(const Words& words) {
  const auto found = commandTable().find(words[0].text);
  if (found == commandTable().end()) throw ScriptError("unknown command " + words[0].text);
  (this->*found->second)(words);
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

Control* Driver::control(const std::string& name, const char* notIt) {
  Target t;
  if (resolve(name, t) && !t.control) error(name + notIt);
  return t.control;
}

MenuItem* Driver::menuItem(const std::string& name) {
  Target t;
  if (resolve(name, t) && !t.menu) error(name + " is not a menu item");
  return t.menu;
}

TextBox* Driver::box(const std::string& name) {
  Control* c = control(name, " is not a text box");
  if (!c || asTextBox(c)) return asTextBox(c);
  error(name + " is not a text box");
  return nullptr;
}

}  // namespace obrel::drive
