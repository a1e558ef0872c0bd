#pragma once
// The Hunspell dictionaries installed (pairs NAME.aff + NAME.dic), their names for the
// Spelling Language menu, and the one to start with.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obrel {

struct DictionaryInfo {
  std::string code;     // the files' name: "en_US", "de_DE_frami", "en_US-large"
  std::string caption;  // "English (United States) en_US"; the code alone for an unknown language
  std::string affPath;
  std::string dicPath;
  bool operator==(const DictionaryInfo&) const = default;
};

// The folders looked in, in order: each folder of dicPath (colon-separated, as DICPATH is;
// empty parts skipped), then /usr/share/hunspell.
std::vector<std::string> dictionaryFolders(const char* dicPath);
// The same, from this process's DICPATH.
std::vector<std::string> dictionaryFolders();

// Every pair NAME.aff + NAME.dic in folders, sorted by code; a code found in two folders is
// the earlier folder's. A folder that is missing or cannot be read holds none.
std::vector<DictionaryInfo> findDictionaries(const std::vector<std::string>& folders);

// The name of code's language and country in English, "German (Switzerland)" for de_CH;
// empty when the language is not known.
std::string languageName(const std::string& code);

// The locale's code as the C library picks it for messages: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, without encoding and modifier ("de_DE" for
// "de_DE.UTF-8@euro"); empty for C and POSIX.
std::string localeCode(const char* lcAll, const char* lcMessages, const char* lang);
// The same, from this process's environment.
std::string localeCode();

// The index in dictionaries (sorted by code) of the one to start with for locale: the
// locale's exact code, else the first of the same language, else en_US, else the first.
// Nothing when there are no dictionaries.
std::optional<std::size_t> firstChoice(const std::vector<DictionaryInfo>& dictionaries,
                                       std::string_view locale);

}  // namespace obrel
