#pragma once
// The headless driver: runs script lines against the program's real windows, with the
// platform replaced by scripted stand-ins, and prints what the program shows.
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/recovery_keeper.h"
#include "platform/event_gate.h"
#include "platform/file_system.h"
#include "platform/recovery_folder.h"
#include "platform/spelling/spelling_marks.h"
#include "shell/program.h"
#include "testing/fakes.h"
#include "tools/obrel-drive/script.h"

namespace obrel::drive {

class Driver {
 public:
  // folder: the program folder; splash: start with the splash window alone.
  Driver(std::string folder, bool splash, std::ostream& out);

  // Runs one script line; number is its line number for messages. Returns false when the
  // line could not be parsed (it is reported and skipped).
  bool run(std::string_view line, int number);
  // Ends the program normally, the recovery copy offered first if no line did; then
  // reports the answers, replies and choices still queued. After crash it does nothing.
  void finish();
  // Whether the script ended the program as a killed one would end: nothing more is run.
  bool crashed() const { return crashed_; }

 private:
  struct Target {
    Form* form = nullptr;
    Control* control = nullptr;
    MenuItem* menu = nullptr;
  };

  using Words = std::vector<Word>;
  // The handler of a command word; words[0] is the command word itself.
  using Command = void (Driver::*)(const Words& words);
  static const std::map<std::string_view, Command>& commandTable();

  void say(const std::string& line);
  void error(const std::string& message);
  void execute(const Words& words);
  // Calls into the program through the guard, then lets closed windows go.
  void handle(const char* where, const std::function<void()>& handler);
  // Shows the box of a failure to keep the recovery copy, when one waits: after a line.
  void tellRecoveryFailure();

  // Resolves "Text4", "Save", "Form3.Text1"; reports and returns false when it cannot.
  bool resolve(const std::string& name, Target& target);
  Form* openForm(const std::string& name);
  // The main window; reports when it is not open.
  Form2* mainWindow();
  // What NAME names when it is a control / a menu item / a text box; otherwise reported
  // (for a control, as NAME followed by notIt) and nullptr.
  Control* control(const std::string& name, const char* notIt);
  MenuItem* menuItem(const std::string& name);
  TextBox* box(const std::string& name);

  // What the stand-ins answer (answers.cpp): the dialogs' queues, the player's position.
  void answer(const Words& words);
  void reply(const Words& words);
  void choose(const Words& words);
  void position(const Words& words);

  // The files a script prepares (files.cpp).
  void writeFile(const Words& words);
  void makeFolder(const Words& words);
  void removePath(const Words& words);
  void makeReadOnly(const Words& words);

  // What the user does (actions.cpp).
  void focus(const Words& words);
  void type(const Words& words);
  void key(const Words& words);
  void caret(const Words& words);
  void selectAll(const Words& words);
  void edit(const Words& words);
  void click(const Words& words);
  void menu(const Words& words);
  void shortcut(const Words& words);
  void activate(const Words& words);
  void closeWindow(const Words& words);
  void pick(const Words& words);
  void focusOn(const std::string& name);
  void pressKey(int code);
  // The user clicks NAME: its click handler, if any, runs through the gate as WHERE, unless
  // NAME is disabled or hidden (reported).
  void press(const std::string& name, const char* where, bool enabled, bool visible,
             const std::function<void()>& onClick);
  // Reports NAME as disabled or hidden when it is; true when the user can use it.
  bool usable(const std::string& name, bool enabled, bool visible);
  // Reports a window (or the window of the control NAME) that an open modal window keeps
  // the user from; true when the user can reach it.
  bool reachable(const Form& form);
  bool reachable(const std::string& name);

  // Spelling in Text9 (spelling.cpp): the N-th (from 1) underlined word of the box NAME, or
  // nothing when NAME is no box checked for spelling or has no such word (reported).
  struct Misspelt {
    TextBox* box;
    SpellingMarks* marks;
    TextSpan span;
    std::string text;
  };
  std::optional<Misspelt> misspelt(const std::string& name, const Word& n);
  void spell(const Words& words);
  bool printMisspelt(const Words& words, std::size_t& i);
  bool printSuggestions(const Words& words, std::size_t& i);

  // The program killed where it stands (crash): nothing removed, nothing more printed.
  // "crash in save": killed so at the next save in place, right after its file was cut.
  void crash(const Words& words);

  // Time going by (clock.cpp).
  void tick(const Words& words);
  void advanceClock(long long ms);

  // print (printing.cpp). A name with a line of its own may read the words after it,
  // moving i on; a printer returns false when the rest of the print line is skipped.
  using Printer = bool (Driver::*)(const Words& words, std::size_t& i);
  static const std::map<std::string_view, Printer>& printTable();
  void print(const Words& words);
  bool printOne(const Words& words, std::size_t& i);
  bool printFile(const Words& words, std::size_t& i);
  bool printWindows(const Words& words, std::size_t& i);
  bool printActive(const Words& words, std::size_t& i);
  bool printFocus(const Words& words, std::size_t& i);
  bool printEntry(const Words& words, std::size_t& i);
  bool printEntries(const Words& words, std::size_t& i);
  bool printListRows(const Words& words, std::size_t& i);
  bool printListSelected(const Words& words, std::size_t& i);
  std::string entryLine(int k);
  // The printed value of any other name; reports and returns nothing when there is none.
  std::optional<std::string> valueOf(const std::string& what);
  std::optional<std::string> propertyOf(const std::string& who, const std::string& property);

  std::ostream& out_;
  fake::QueuedPrompts prompts_;
  fake::QueuedDialogs dialogs_;
  fake::ScriptedPlayer player_;
  fake::RecordingBrowser browser_;
  RealFileSystem files_;
  RecoveryFolder recoveryFolder_;
  RecoveryKeeper recovery_;
  Program program_;
  EventGate gate_;
  bool exitReported_ = false;
  // Without the splash the copy is offered just before the first line that is not an
  // answer for the stand-ins, so that the script can answer the question.
  bool offerPending_ = false;
  bool crashed_ = false;
  std::map<const Timer*, long long> timerElapsed_;
};

}  // namespace obrel::drive
