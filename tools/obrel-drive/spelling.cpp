// spell, and the spelling names of print: what Text9 underlines, the corrections a
// right-click on an underlined word offers, and the actions of that menu.
#include <algorithm>

#include "editor/form2.h"
#include "platform/utf8.h"
#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

std::optional<Driver::Misspelt> Driver::misspelt(const std::string& name, const Word& n) {
  const long long k = wholeNumber(n, "takes BOX N");
  TextBox* b = box(name);
  if (!b) return std::nullopt;
  Form2* main = program_.form2();
  if (!main || b != &main->Text9) {
    error(name + " is not checked for spelling");
    return std::nullopt;
  }
  const std::vector<TextSpan> words = main->spelling().misspelt(b->text());
  if (k < 1 || static_cast<std::size_t>(k) > words.size()) {
    error(name + " has no misspelt word " + n.text);
    return std::nullopt;
  }
  const TextSpan& span = words[static_cast<std::size_t>(k - 1)];
  return Misspelt{b, &main->spelling(), span, b->text().substr(span.start, span.length)};
}

bool Driver::printMisspelt(const Words&, std::size_t&) {
  Form2* main = mainWindow();
  if (!main) return false;
  std::string line = "Text9.misspelt =";
  const std::string& text = main->Text9.text();
  for (const TextSpan& span : main->spelling().misspelt(text)) {
    line += ' ' + quote(text.substr(span.start, span.length));
  }
  say(line);
  return true;
}

bool Driver::printSuggestions(const Words& words, std::size_t& i) {
  need(i + 1 < words.size(), "print Text9.suggestions takes a number");
  const Word& n = words[++i];
  wholeNumber(n, "print Text9.suggestions takes a number");
  if (!mainWindow()) return false;
  const std::optional<Misspelt> word = misspelt("Text9", n);
  if (!word) return false;
  std::string line = "Text9.suggestions " + n.text + " =";
  for (const std::string& s : word->marks->suggestions(word->text)) line += ' ' + quote(s);
  say(line);
  return true;
}

void Driver::spell(const Words& words) {
  const char* usage = "spell takes BOX N \"WORD\", BOX N add or BOX N ignore";
  need(words.size() == 4 && !words[1].quoted, usage);
  const Word& action = words[3];
  need(action.quoted || action.text == "add" || action.text == "ignore", usage);
  wholeNumber(words[2], usage);
  const std::string& name = words[1].text;
  if (!box(name) || !reachable(name)) return;
  const std::optional<Misspelt> word = misspelt(name, words[2]);
  if (!word) return;
  if (!action.quoted) {
    handle("Text9_Spell", [&] {
      if (action.text == "add") {
        word->marks->addToDictionary(word->text);
      } else {
        word->marks->ignore(word->text);
      }
    });
    return;
  }
  const std::vector<std::string> offered = word->marks->suggestions(word->text);
  if (std::find(offered.begin(), offered.end(), action.text) == offered.end()) {
    error(quote(action.text) + " is not a suggestion for " + quote(word->text));
    return;
  }
  // The word replaced as typing over it would: the change handler runs, the caret ends
  // after the new word.
  handle("Text9_Spell", [&] {
    TextBox& b = *word->box;
    std::string text = b.text();
    text.replace(word->span.start, word->span.length, action.text);
    b.setText(text);
    b.setCaret(word->span.startCharacters + utf8::length(action.text));
  });
}

}  // namespace obrel::drive
