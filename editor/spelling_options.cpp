// Options > Spelling and Options > Spelling Language: the items, their marks, and what
// choosing them does to the underlining of Text9.
#include <string>

#include "editor/form2.h"

namespace obrel {

void Form2::startSpelling(const SpellingPlaces& places) {
  spelling_.start(places);
  const std::vector<DictionaryInfo>& found = spelling_.dictionaries();
  for (std::size_t i = 0; i < found.size(); ++i) {
    auto item = std::make_unique<MenuItem>("Dictionary" + std::to_string(i + 1), found[i].caption,
                                           SpellingLanguage.name());
    item->setChecked(spelling_.chosen() == i);
    item->onClick = [this, i] { Dictionary_Click(i); };
    add(*item);
    dictionaryItems_.push_back(std::move(item));
  }
  Spelling.setEnabled(!found.empty());
  SpellingLanguage.setEnabled(!found.empty());
  Spelling.setChecked(spelling_.enabled());
}

void Form2::Spelling_Click() {
  spelling_.setEnabled(!spelling_.enabled());
  Spelling.setChecked(spelling_.enabled());
}

void Form2::Dictionary_Click(std::size_t index) {
  if (!spelling_.choose(index)) return;
  for (std::size_t i = 0; i < dictionaryItems_.size(); ++i) {
    dictionaryItems_[i]->setChecked(i == index);
  }
}

}  // namespace obrel
