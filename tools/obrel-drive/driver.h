#pragma once
// The headless driver: runs script lines against the program's real windows, with the
// platform replaced by scripted stand-ins, and prints what the program shows.
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_gate.h"
#include "platform/file_system.h"
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
  // Reports the answers, replies and choices still queued.
  void finish();

 private:
  struct Target {
    Form* form = nullptr;
    Control* control = nullptr;
    MenuItem* menu = nullptr;
  };

  void say(const std::string& line);
  void error(const std::string& message);
  void execute(const std::vector<Word>& words);
  // Calls into the program through the guard, then lets closed windows go.
  template <class F>
  void handle(const char* where, F&& f);

  // Resolves "Text4", "Save", "Form3.Text1"; reports and returns false when it cannot.
  bool resolve(const std::string& name, Target& target);
  Form* openForm(const std::string& name);
  TextBox* box(const std::string& name);

  void pressKey(int code);
  void tick(long long ms);
  void print(const std::vector<Word>& words, std::size_t from);
  bool printOne(const std::string& what, const std::vector<Word>& words, std::size_t& i);
  std::string entryLine(int k);
  std::string valueOf(const std::string& what, bool& ok);

  std::ostream& out_;
  fake::QueuedPrompts prompts_;
  fake::QueuedDialogs dialogs_;
  fake::ScriptedPlayer player_;
  fake::RecordingBrowser browser_;
  RealFileSystem files_;
  Program program_;
  EventGate gate_;
  bool exitReported_ = false;
  std::map<const Timer*, long long> timerElapsed_;
};

}  // namespace obrel::drive
