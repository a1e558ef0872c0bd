#pragma once
// Reading the words of a script line. Each check throws ScriptError with the form the
// command expects (its usage), which the driver reports as "error: line N: USAGE".
#include <optional>
#include <string>
#include <vector>

#include "tools/obrel-drive/script.h"

namespace obrel::drive {

void need(bool condition, const char* usage);

// An unquoted decimal whole number.
long long wholeNumber(const Word& word, const char* usage);

// The text of words[i], which must be there and quoted.
std::string quoted(const std::vector<Word>& words, std::size_t i, const char* usage);

// COMMAND "TEXT" (the text) or COMMAND cancel (nothing).
std::optional<std::string> textOrCancel(const std::vector<Word>& words, const char* usage);

// COMMAND "PATH".
std::string onlyPath(const std::vector<Word>& words, const char* usage);

// COMMAND NAME, NAME unquoted.
const std::string& onlyName(const std::vector<Word>& words, const char* usage);

// Form1 to Form9.
bool isFormName(const std::string& name);

}  // namespace obrel::drive
