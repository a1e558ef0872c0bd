#include "tools/obrel-drive/events.h"

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

std::string replyText(const std::optional<std::string>& reply) {
  return reply ? quote(*reply) : std::string("cancel");
}

}  // namespace

std::string messageBoxLine(const fake::MessageBoxShown& box) {
  return "msgbox " + quote(box.text) + " title=" + quote(box.title) +
         " icon=" + iconName(box.icon) + " buttons=" + buttonsName(box.buttons) + " -> " +
         fake::answerName(box.answer);
}

std::string inputBoxLine(const fake::InputBoxShown& box) {
  return "inputbox " + quote(box.prompt) + " title=" + quote(box.title) +
         " default=" + quote(box.defaultText) + " at=" + std::to_string(box.left) + "," +
         std::to_string(box.top) + " -> " + replyText(box.reply);
}

std::string dialogLine(const fake::DialogShown& dialog) {
  return "dialog " + dialog.name + (dialog.kind == DialogKind::Open ? " open" : " save") +
         " title=" + quote(dialog.title) + " filter=" + quote(dialog.filter) + " -> " +
         replyText(dialog.choice);
}

std::string browserLine(const std::string& url) { return "browser " + quote(url); }

std::string playSpanLine(std::int64_t from, std::int64_t to) {
  const auto seconds = [](std::int64_t millis) {
    return number(static_cast<double>(millis) / 1000);
  };
  if (to <= from) return "player paused at " + seconds(from);
  return "player play " + seconds(from) + " pause at " + seconds(to);
}

}  // namespace obrel::drive
