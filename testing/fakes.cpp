#include "testing/fakes.h"

#include <cmath>

namespace obrel::fake {

Answer closedAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return Answer::OK;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
  }
  return Answer::OK;
}

bool isButtonOf(Answer answer, Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return answer == Answer::OK;
    case Buttons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel: return answer != Answer::OK;
  }
  return false;
}

const char* answerName(Answer answer) {
  switch (answer) {
    case Answer::OK: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Cancel: return "Cancel";
  }
  return "OK";
}

Answer QueuedPrompts::messageBox(const std::string& text, const std::string& title, Icon icon,
                                 Buttons buttons) {
  MessageBoxShown box{text, title, icon, buttons, closedAnswer(buttons), std::nullopt};
  if (!answers.empty()) {
    const Answer queued = answers.front();
    answers.pop_front();
    if (isButtonOf(queued, buttons)) {
      box.answer = queued;
    } else {
      box.refused = queued;
    }
  } else if (standingAnswer && isButtonOf(*standingAnswer, buttons)) {
    box.answer = *standingAnswer;
  }
  shown.push_back(box);
  if (onMessageBox) onMessageBox(box);
  return box.answer;
}

std::optional<std::string> QueuedPrompts::inputBox(const std::string& prompt,
                                                   const std::string& title,
                                                   const std::string& defaultText, int left,
                                                   int top) {
  InputBoxShown box{prompt, title, defaultText, left, top, standingReply};
  if (!replies.empty()) {
    box.reply = replies.front();
    replies.pop_front();
  }
  asked.push_back(box);
  if (onInputBox) onInputBox(box);
  return box.reply;
}

std::string QueuedDialogs::show(const std::string& name, DialogKind kind, const std::string& title,
                                const std::string& filter) {
  DialogShown dialog{name, kind, title, filter, std::nullopt};
  if (!choices.empty()) {
    dialog.choice = choices.front();
    choices.pop_front();
  }
  shown.push_back(dialog);
  if (onDialog) onDialog(dialog);
  return dialog.choice.value_or("");
}

void ScriptedPlayer::setUrl(const std::string& path) {
  url_ = path;
  position_ = 0;
  playing_ = !path.empty();  // autostart
  pauseAt_.reset();
  askSource();
}

void ScriptedPlayer::setPosition(double seconds) {
  position_ = seconds;
  pauseAt_.reset();
  askSource();
}

void ScriptedPlayer::play() {
  playing_ = true;
  pauseAt_.reset();
}

void ScriptedPlayer::pause() {
  playing_ = false;
  pauseAt_.reset();
}

void ScriptedPlayer::playSpan(std::int64_t from, std::int64_t to) {
  position_ = static_cast<double>(from) / 1000.0;
  playing_ = to > from;
  pauseAt_.reset();
  if (playing_) pauseAt_ = to;
  askSource();
  if (onPlaySpan) onPlaySpan(from, to);
}

void ScriptedPlayer::setSubtitleSource(SubtitleSource source) {
  source_ = std::move(source);
  askSource();
}

void ScriptedPlayer::setSubtitlesShown(bool on) {
  shown_ = on;
  askSource();
}

void ScriptedPlayer::askSource() {
  drawn_.clear();
  // No media is that long; beyond this (or not a number) the microseconds would not fit.
  if (!shown_ || !source_ || url_.empty() || !(std::abs(position_) < 1e12)) return;
  // Through whole microseconds, as a real frame's time is: 12.345 s is 12345 ms, not the
  // 12344 that 12.345 * 1000 rounded down would give.
  const auto micros = static_cast<std::int64_t>(std::llround(position_ * 1e6));
  const std::int64_t millis = micros >= 0 ? micros / 1000 : -((-micros + 999) / 1000);
  drawn_ = source_(millis);
}

}  // namespace obrel::fake
