#pragma once
// The options kept from one run to the next, in an INI file of the user's own
// (settings.ini):
//   [Spelling]
//   Enabled=true
//   Language=en_US
// A value the file lacks, or holds in a form not understood, is nothing: the caller's
// default applies.
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace obrel {

struct Settings {
  std::optional<bool> spelling;
  std::optional<std::string> spellingLanguage;  // a dictionary's code, "en_US"
  bool operator==(const Settings&) const = default;
};

// The settings in the file at path: all nothing when it is missing, unreadable or no
// settings file. Never throws.
Settings readSettings(FileSystem& files, const std::string& path);

// Writes the values settings holds into the file at path (a private file: see
// FileSystem::replacePrivateFile), keeping the lines it holds for other values. Throws
// FileError when the file cannot be written.
void writeSettings(FileSystem& files, const std::string& path, const Settings& settings);

}  // namespace obrel
