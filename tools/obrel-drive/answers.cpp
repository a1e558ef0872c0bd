// What the stand-ins answer: the queues of the dialogs and the position of the player.
#include <optional>

#include "platform/numbers.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

namespace {

Answer parseAnswer(const Word& word) {
  if (word.text == "OK") return Answer::OK;
  if (word.text == "Yes") return Answer::Yes;
  if (word.text == "No") return Answer::No;
  if (word.text == "Cancel") return Answer::Cancel;
  throw ScriptError("answer takes OK, Yes, No or Cancel");
}

}  // namespace

void Driver::answer(const Words& words) {
  need(words.size() >= 2, "answer takes one or more buttons");
  // Each button is queued as it is read, so the ones before a wrong word stay queued.
  for (std::size_t i = 1; i < words.size(); ++i) prompts_.answers.push_back(parseAnswer(words[i]));
}

void Driver::reply(const Words& words) {
  prompts_.replies.push_back(textOrCancel(words, "reply takes \"TEXT\" or cancel"));
}

void Driver::choose(const Words& words) {
  dialogs_.choices.push_back(textOrCancel(words, "choose takes \"PATH\" or cancel"));
}

void Driver::position(const Words& words) {
  const char* usage = "position takes a number of seconds";
  need(words.size() == 2 && !words[1].quoted, usage);
  const std::optional<double> seconds = readNumber(words[1].text).value;
  need(seconds.has_value(), usage);
  player_.setPosition(*seconds);
}

}  // namespace obrel::drive
