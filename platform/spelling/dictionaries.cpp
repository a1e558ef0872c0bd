#include "platform/spelling/dictionaries.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

namespace obrel {

namespace {

constexpr const char* kSystemFolder = "/usr/share/hunspell";

// The language part of a code: "en" for "en_US", "en_US-large" or "en".
std::string_view languageOf(std::string_view code) {
  return code.substr(0, code.find_first_of("_-."));
}

std::string utf8Of(const UChar* text, int32_t length) {
  char buffer[512];
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(buffer, sizeof buffer, &written, text, length, &status);
  return U_SUCCESS(status) ? std::string(buffer, static_cast<std::size_t>(written)) : std::string();
}

}  // namespace

std::vector<std::string> dictionaryFolders(const char* dicPath) {
  std::vector<std::string> folders;
  std::string_view rest = dicPath ? dicPath : "";
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    if (colon != 0) folders.emplace_back(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  }
  folders.emplace_back(kSystemFolder);
  return folders;
}

std::vector<std::string> dictionaryFolders() { return dictionaryFolders(std::getenv("DICPATH")); }

std::vector<DictionaryInfo> findDictionaries(const std::vector<std::string>& folders) {
  namespace fs = std::filesystem;
  std::map<std::string, DictionaryInfo> byCode;
  for (const std::string& folder : folders) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& dic = it->path();
      if (dic.extension() != ".dic" || dic.stem().string().starts_with('.')) continue;
      fs::path aff = dic;
      aff.replace_extension(".aff");
      std::error_code statError;
      if (!fs::is_regular_file(dic, statError) || !fs::is_regular_file(aff, statError)) continue;
      const std::string code = dic.stem().string();
      if (byCode.contains(code)) continue;
      const std::string name = languageName(code);
      byCode.emplace(code, DictionaryInfo{code, name.empty() ? code : name + ' ' + code, aff, dic});
    }
  }
  std::vector<DictionaryInfo> found;
  for (auto& [code, info] : byCode) found.push_back(std::move(info));
  return found;
}

std::string languageName(const std::string& code) {
  // ICU reads "en_US-large" as language, country and variant, and answers an unknown
  // language with its code: no name then.
  UChar language[128];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t languageLength =
      uloc_getDisplayLanguage(code.c_str(), "en", language, 128, &status);
  if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING ||
      utf8Of(language, languageLength) == languageOf(code)) {
    return {};
  }
  UChar name[256];
  status = U_ZERO_ERROR;
  const int32_t length = uloc_getDisplayName(code.c_str(), "en", name, 256, &status);
  return U_FAILURE(status) ? std::string() : utf8Of(name, length);
}

std::string localeCode(const char* lcAll, const char* lcMessages, const char* lang) {
  std::string_view value;
  for (const char* v : {lcAll, lcMessages, lang}) {
    if (v && *v) {
      value = v;
      break;
    }
  }
  value = value.substr(0, value.find_first_of(".@"));
  if (value == "C" || value == "POSIX") return {};
  return std::string(value);
}

std::string localeCode() {
  return localeCode(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::optional<std::size_t> firstChoice(const std::vector<DictionaryInfo>& dictionaries,
                                       std::string_view locale) {
  if (dictionaries.empty()) return std::nullopt;
  const auto index = [&](auto matches) -> std::optional<std::size_t> {
    const auto it = std::find_if(dictionaries.begin(), dictionaries.end(), matches);
    if (it == dictionaries.end()) return std::nullopt;
    return static_cast<std::size_t>(it - dictionaries.begin());
  };
  if (!locale.empty()) {
    if (auto i = index([&](const DictionaryInfo& d) { return d.code == locale; })) return i;
    const std::string_view language = languageOf(locale);
    if (auto i = index([&](const DictionaryInfo& d) { return languageOf(d.code) == language; })) {
      return i;
    }
  }
  if (auto i = index([](const DictionaryInfo& d) { return d.code == "en_US"; })) return i;
  return 0;
}

}  // namespace obrel
