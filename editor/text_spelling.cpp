#include "editor/text_spelling.h"

#include "platform/failure.h"
#include "platform/prompts.h"
#include "platform/settings_file.h"
#include "platform/user_folders.h"

namespace obrel {

SpellingPlaces spellingPlacesFromEnvironment() {
  return {dictionaryFolders(), localeCode(), settingsFilePath(), personalWordsPath()};
}

void TextSpelling::start(const SpellingPlaces& places) {
  places_ = places;
  dictionaries_ = findDictionaries(places_.dictionaryFolders);
  const Settings kept = readSettings(files_, places_.settingsFile);
  chosen_ = firstChoice(dictionaries_, places_.locale);
  if (kept.spellingLanguage) {
    for (std::size_t i = 0; i < dictionaries_.size(); ++i) {
      if (dictionaries_[i].code == *kept.spellingLanguage) chosen_ = i;
    }
  }
  enabled_ = chosen_ && kept.spelling.value_or(true);
  personal_.emplace(files_, places_.personalWords);
  personal_->load();
  for (const std::string& word : personal_->words()) checker_.accept(word);
  ++revision_;
}

bool TextSpelling::ready() {
  if (!enabled_ || !chosen_ || loadFailed_) return false;
  if (loaded_) return true;
  try {
    checker_.load(dictionaries_[*chosen_]);
    loaded_ = true;
  } catch (const FileError&) {
    // Found at the first keystroke: underlining nothing says enough.
    loadFailed_ = true;
  }
  return loaded_;
}

void TextSpelling::setEnabled(bool on) {
  if (!chosen_ || on == enabled_) return;
  enabled_ = on;
  ++revision_;
  keepSettings();
}

bool TextSpelling::choose(std::size_t index) {
  if (index >= dictionaries_.size()) return false;
  const DictionaryInfo& dictionary = dictionaries_[index];
  try {
    checker_.load(dictionary);
  } catch (const FileError& e) {
    tell("The dictionary could not be read.", dictionary.affPath, e.what());
    return false;
  }
  chosen_ = index;
  loaded_ = true;
  loadFailed_ = false;
  ++revision_;
  keepSettings();
  return true;
}

std::vector<TextSpan> TextSpelling::misspelt(std::string_view text) {
  if (!ready()) return {};
  return checker_.misspelt(text);
}

std::vector<std::string> TextSpelling::suggestions(std::string_view word) {
  if (!ready()) return {};
  return checker_.suggestions(word);
}

void TextSpelling::addToDictionary(std::string_view word) {
  if (!personal_) return;
  checker_.accept(word);
  ++revision_;
  try {
    personal_->add(word);
  } catch (const FileError& e) {
    tell("The word could not be added to the personal word list.", places_.personalWords, e.what());
  }
  // Words another program added meanwhile count here too.
  for (const std::string& w : personal_->words()) checker_.accept(w);
}

void TextSpelling::ignore(std::string_view word) {
  checker_.accept(word);
  ++revision_;
}

void TextSpelling::keepSettings() {
  Settings settings;
  settings.spelling = enabled_;
  if (chosen_) settings.spellingLanguage = dictionaries_[*chosen_].code;
  try {
    writeSettings(files_, places_.settingsFile, settings);
  } catch (const FileError& e) {
    tell("The settings could not be kept for the next start.", places_.settingsFile, e.what());
  }
}

void TextSpelling::tell(const std::string& what, const std::string& path,
                        const std::string& reason) {
  prompts_.messageBox(what + "\r\n" + path + "\r\n" + reason, "Obrel Dizivud", Icon::Exclamation,
                      Buttons::OK);
}

}  // namespace obrel
