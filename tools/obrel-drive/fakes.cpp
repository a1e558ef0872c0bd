#include "tools/obrel-drive/fakes.h"

#include "tools/obrel-drive/script.h"

namespace obrel::drive {

namespace {

const char* iconName(Icon icon) {
  switch (icon) {
    case Icon::None: return "none";
    case Icon::Information: return "information";
    case Icon::Exclamation: return "exclamation";
    case Icon::Critical: return "critical";
    case Icon::Question: return "question";
  }
  return "none";
}

const char* buttonsName(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return "OK";
    case Buttons::YesNo: return "YesNo";
    case Buttons::YesNoCancel: return "YesNoCancel";
  }
  return "OK";
}

// Closing a box without a button.
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

}  // namespace

const char* answerName(Answer answer) {
  switch (answer) {
    case Answer::OK: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Cancel: return "Cancel";
  }
  return "OK";
}

Answer ScriptedPrompts::messageBox(const std::string& text, const std::string& title, Icon icon,
                                   Buttons buttons) {
  Answer answer = closedAnswer(buttons);
  if (!answers.empty()) {
    const Answer queued = answers.front();
    answers.pop_front();
    // A button the box does not have is used up, and the box closes as with none queued.
    if (isButtonOf(queued, buttons)) {
      answer = queued;
    } else {
      print_(std::string("error: ") + answerName(queued) + " is not a button of this box");
    }
  }
  print_("msgbox " + quote(text) + " title=" + quote(title) + " icon=" + iconName(icon) +
         " buttons=" + buttonsName(buttons) + " -> " + answerName(answer));
  return answer;
}

std::optional<std::string> ScriptedPrompts::inputBox(const std::string& prompt,
                                                     const std::string& title,
                                                     const std::string& defaultText, int left,
                                                     int top) {
  std::optional<std::string> reply;
  if (!replies.empty()) {
    reply = replies.front();
    replies.pop_front();
  }
  print_("inputbox " + quote(prompt) + " title=" + quote(title) + " default=" +
         quote(defaultText) + " at=" + std::to_string(left) + "," + std::to_string(top) +
         " -> " + (reply ? quote(*reply) : std::string("cancel")));
  return reply;
}

std::string ScriptedDialogs::show(const std::string& name, DialogKind kind,
                                  const std::string& title, const std::string& filter) {
  std::optional<std::string> choice;
  if (!choices.empty()) {
    choice = choices.front();
    choices.pop_front();
  }
  print_("dialog " + name + (kind == DialogKind::Open ? " open" : " save") + " title=" +
         quote(title) + " filter=" + quote(filter) + " -> " +
         (choice ? quote(*choice) : std::string("cancel")));
  return choice.value_or("");
}

void PrintingBrowser::open(const std::string& url) { print_("browser " + quote(url)); }

}  // namespace obrel::drive
