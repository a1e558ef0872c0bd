#include "testing/fakes.h"

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

}  // namespace obrel::fake
