#pragma once
// Stand-ins for the platform, for unit tests that build a Form2 directly: message boxes that
// record what they showed, queued input-box replies and dialog paths, no player, no browser.
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/form2.h"
#include "platform/file_dialogs.h"
#include "platform/failure.h"
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

// A program folder on the real disk: a new temporary folder with Support/ in it, removed
// with everything in it (whatever its permissions) when the object goes.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& prefix = "obrel") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw FileError("cannot make a temporary folder");
    path_ = pattern;
    std::filesystem::create_directories(path_ / "Support");
  }
  ~ProgramFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
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
