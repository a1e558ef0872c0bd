#pragma once
// Stand-ins for the platform, for unit tests that build a Form2 directly: message boxes that
// record what they showed, queued input-box replies and dialog paths, no player, no browser.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/form2.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "platform/web_links.h"

namespace obrel::standin {

struct Shown {
  std::string text;
  Icon icon;
};

class RecordingPrompts : public Prompts {
 public:
  Answer messageBox(const std::string& text, const std::string&, Icon icon, Buttons) override {
    shown.push_back({text, icon});
    if (answers.empty()) return Answer::OK;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&,
                                      int, int) override {
    if (replies.empty()) return std::nullopt;
    std::string reply = replies.front();
    replies.pop_front();
    return reply;
  }
  std::vector<Shown> shown;
  std::deque<Answer> answers;
  std::deque<std::string> replies;
};

class QueuedDialogs : public FileDialogs {
 public:
  std::string show(const std::string&, DialogKind, const std::string&, const std::string&) override {
    if (paths.empty()) return "";
    std::string path = paths.front();
    paths.pop_front();
    return path;
  }
  std::deque<std::string> paths;
};

class NoPlayer : public MediaPlayer {
 public:
  std::string url() const override { return ""; }
  void setUrl(const std::string&) override {}
  bool enabled() const override { return false; }
  void setEnabled(bool) override {}
  double position() const override { return 0; }
  void setPosition(double) override {}
};

class NoBrowser : public Browser {
 public:
  void open(const std::string&) override {}
};

class NoShell : public Shell {
 public:
  void showHelp() override {}
  void showAbout() override {}
  void unloadAll() override {}
};

// A loaded main window on files in memory, its program folder "/program".
struct TestWindow {
  RecordingPrompts prompts;
  QueuedDialogs dialogs;
  NoPlayer player;
  NoBrowser browser;
  MemoryFileSystem files;
  NoShell shell;
  Form2 form{Services{prompts, dialogs, player, browser, files, "/program"}, shell};
  TestWindow() { form.Form_Load(); }
};

}  // namespace obrel::standin
