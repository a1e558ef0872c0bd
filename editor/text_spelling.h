#pragma once
// Spelling in the main window's entry text: the dictionaries installed, the one in use,
// whether spelling is on, the words the user added or ignored, and the settings file that
// keeps the options for the next start. What Text9's view underlines comes from here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/spelling/dictionaries.h"
#include "platform/spelling/personal_words.h"
#include "platform/spelling/spell_checker.h"
#include "platform/spelling/spelling_marks.h"

namespace obrel {

class FileSystem;
class Prompts;

// Where spelling looks for dictionaries and keeps the user's files. Left empty (no
// dictionary, nothing kept) unless the program fills it in from its environment.
struct SpellingPlaces {
  std::vector<std::string> dictionaryFolders;
  std::string locale;         // "de_DE"; empty for the C locale
  std::string settingsFile;   // .../obrel-dizivud/settings.ini
  std::string personalWords;  // .../obrel-dizivud/words.txt
};

// The places this process's environment names: DICPATH, the locale, the XDG folders.
SpellingPlaces spellingPlacesFromEnvironment();

class TextSpelling final : public SpellingMarks {
 public:
  TextSpelling(FileSystem& files, Prompts& prompts) : files_(files), prompts_(prompts) {}

  // Finds the dictionaries, reads the settings file and the personal word list, and picks
  // the language: the one kept in the settings when it is still installed, else the
  // locale's (firstChoice). Spelling is on unless the settings say off; never with no
  // dictionary. A file that is missing or unreadable means the defaults. The dictionary
  // itself is read when first needed.
  void start(const SpellingPlaces& places);

  const std::vector<DictionaryInfo>& dictionaries() const { return dictionaries_; }
  // The index in dictionaries() of the language in use; nothing with no dictionary.
  std::optional<std::size_t> chosen() const { return chosen_; }
  bool enabled() const { return enabled_; }

  // Turns spelling on or off and keeps that in the settings file (a failure to write it
  // is shown, and the option holds for this run).
  void setEnabled(bool on);
  // Uses dictionaries()[index] from now on and keeps it in the settings file. A dictionary
  // that cannot be read is shown, and the one in use stays; false then.
  bool choose(std::size_t index);

  std::vector<TextSpan> misspelt(std::string_view text) override;
  std::vector<std::string> suggestions(std::string_view word) override;
  // A failure to write the word list is shown; the word holds for this run.
  void addToDictionary(std::string_view word) override;
  void ignore(std::string_view word) override;
  std::uint64_t revision() const override { return revision_; }

 private:
  // The checker with the chosen dictionary read; false when spelling is off or the
  // dictionary cannot be read (then nothing is underlined, and it is not tried again).
  bool ready();
  void keepSettings();
  void tell(const std::string& what, const std::string& path, const std::string& reason);

  FileSystem& files_;
  Prompts& prompts_;
  SpellingPlaces places_;
  std::vector<DictionaryInfo> dictionaries_;
  std::optional<std::size_t> chosen_;
  bool enabled_ = false;
  bool loaded_ = false;
  bool loadFailed_ = false;
  SpellChecker checker_;
  std::optional<PersonalWords> personal_;
  std::uint64_t revision_ = 0;
};

}  // namespace obrel
