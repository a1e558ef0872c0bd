#pragma once
// One stand-in for each port of the platform, for the driver, the tests, the fuzz targets
// and the benchmarks: dialogs answered from queues, a player whose position is set by hand,
// a browser and a shell that record. Each records what it was asked, and may tell an
// observer as it happens (the driver prints each event then).
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_dialogs.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "platform/services.h"
#include "platform/web_links.h"

namespace obrel::fake {

// The answer a box gives when it is closed without a button: Cancel for Yes/No/Cancel, No
// for Yes/No, OK for OK.
Answer closedAnswer(Buttons buttons);
// Whether answer is one of the box's buttons.
bool isButtonOf(Answer answer, Buttons buttons);
const char* answerName(Answer answer);

struct MessageBoxShown {
  std::string text;
  std::string title;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::OK;
  Answer answer = Answer::OK;
  // A queued answer the box has no button for: used up, the box closed as with none.
  std::optional<Answer> refused;
};

struct InputBoxShown {
  std::string prompt;
  std::string title;
  std::string defaultText;
  int left = 0;
  int top = 0;
  std::optional<std::string> reply;  // nullopt: cancelled
};

// Message boxes answered in turn from answers, input boxes from replies; with nothing
// queued, the standing answer or reply when set, else the box is closed.
class QueuedPrompts : public Prompts {
 public:
  Answer messageBox(const std::string& text, const std::string& title, Icon icon,
                    Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText, int left, int top) override;

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> replies;  // nullopt: cancel
  std::optional<Answer> standingAnswer;            // used when it is one of the box's buttons
  std::optional<std::string> standingReply;

  std::vector<MessageBoxShown> shown;
  std::vector<InputBoxShown> asked;
  std::function<void(const MessageBoxShown&)> onMessageBox;
  std::function<void(const InputBoxShown&)> onInputBox;
};

struct DialogShown {
  std::string name;
  DialogKind kind = DialogKind::Open;
  std::string title;
  std::string filter;
  std::optional<std::string> choice;  // nullopt: cancelled
};

// File dialogs answered in turn from choices; with nothing queued, a dialog is cancelled.
class QueuedDialogs : public FileDialogs {
 public:
  std::string show(const std::string& name, DialogKind kind, const std::string& title,
                   const std::string& filter) override;

  std::deque<std::optional<std::string>> choices;  // nullopt: cancel
  std::vector<DialogShown> shown;
  std::function<void(const DialogShown&)> onDialog;
};

// A player that plays nothing: its position is what was last set, by the program or by
// hand; a new media starts from its beginning, as a real player's does. What it draws is
// what its source gave at that position when it last asked, as a paused real player keeps
// the text of its frame: it asks again when it moves, when its source, media or shown
// state changes, and at refreshSubtitles, never by itself.
class ScriptedPlayer : public MediaPlayer {
 public:
  std::string url() const override { return url_; }
  void setUrl(const std::string& path) override;
  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }
  double position() const override { return position_; }
  void setPosition(double seconds) override;

  void play() override;
  void pause() override;
  bool playing() const override { return playing_; }
  void playSpan(std::int64_t from, std::int64_t to) override;

  void setSubtitleSource(SubtitleSource source) override;
  void refreshSubtitles() override { askSource(); }
  bool subtitlesShown() const override { return shown_; }
  void setSubtitlesShown(bool on) override;
  Subtitles subtitles() const override { return drawn_; }

  // Where a playSpan still pending will pause (milliseconds).
  std::optional<std::int64_t> pauseAt() const { return pauseAt_; }

  // Each playSpan, as it is asked.
  std::function<void(std::int64_t from, std::int64_t to)> onPlaySpan;

 private:
  std::string url_;
  bool enabled_ = false;
  double position_ = 0;
  bool playing_ = false;
  std::optional<std::int64_t> pauseAt_;
  SubtitleSource source_;
  bool shown_ = true;
  Subtitles drawn_;

  void askSource();
};

class RecordingBrowser : public Browser {
 public:
  void open(const std::string& url) override {
    opened.push_back(url);
    if (onOpen) onOpen(url);
  }
  std::vector<std::string> opened;
  std::function<void(const std::string&)> onOpen;
};

// What the main window asks of the program, counted.
class RecordingShell : public Shell {
 public:
  void showHelp() override { ++helps; }
  void showAbout() override { ++abouts; }
  void showEntryList() override { ++entryLists; }
  void unloadAll() override { ++unloads; }
  int helps = 0;
  int abouts = 0;
  int entryLists = 0;
  int unloads = 0;
};

}  // namespace obrel::fake
