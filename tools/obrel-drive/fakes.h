#pragma once
// The driver's stand-ins for the platform: dialogs answered from queues that the script
// fills, a media player whose position the script sets, a browser that prints. Each prints
// its event line when it is used.
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_dialogs.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "platform/web_links.h"

namespace obrel::drive {

using Print = std::function<void(const std::string&)>;

class ScriptedPrompts : public Prompts {
 public:
  explicit ScriptedPrompts(Print print) : print_(std::move(print)) {}
  Answer messageBox(const std::string& text, const std::string& title, Icon icon,
                    Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText, int left,
                                      int top) override;
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> replies;  // nullopt: cancel

 private:
  Print print_;
};

class ScriptedDialogs : public FileDialogs {
 public:
  explicit ScriptedDialogs(Print print) : print_(std::move(print)) {}
  std::string show(const std::string& name, DialogKind kind, const std::string& title,
                   const std::string& filter) override;
  std::deque<std::optional<std::string>> choices;  // nullopt: cancel

 private:
  Print print_;
};

class ScriptedPlayer : public MediaPlayer {
 public:
  std::string url() const override { return url_; }
  // A new media starts from its beginning, as a real player's does.
  void setUrl(const std::string& path) override {
    url_ = path;
    position_ = 0;
  }
  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }
  double position() const override { return position_; }
  void setPosition(double seconds) override { position_ = seconds; }

 private:
  std::string url_;
  bool enabled_ = false;
  double position_ = 0;
};

class PrintingBrowser : public Browser {
 public:
  explicit PrintingBrowser(Print print) : print_(std::move(print)) {}
  void open(const std::string& url) override;

 private:
  Print print_;
};

const char* answerName(Answer answer);

}  // namespace obrel::drive
