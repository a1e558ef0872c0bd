#include "platform/user_folders.h"

#include <cstdlib>

#include "platform/home_folder.h"

namespace obrel {

namespace {

bool absolute(const char* path) { return path && path[0] == '/'; }

// Empty when there is no home folder either: nothing is then read or written.
std::string programFolder(const char* base, const char* home, const char* underHome) {
  if (absolute(base)) return std::string(base) + "/obrel-dizivud";
  const std::string folder = absolute(home) ? std::string(home) : homeInUserDatabase();
  return folder.empty() ? folder : folder + underHome + "/obrel-dizivud";
}

std::string inFolder(const std::string& folder, const char* name) {
  return folder.empty() ? folder : folder + '/' + name;
}

}  // namespace

std::string programConfigFolder(const char* configHome, const char* home) {
  return programFolder(configHome, home, "/.config");
}

std::string programDataFolder(const char* dataHome, const char* home) {
  return programFolder(dataHome, home, "/.local/share");
}

std::string settingsFilePath() {
  return inFolder(programConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                  "settings.ini");
}

std::string personalWordsPath() {
  return inFolder(programDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
                  "words.txt");
}

}  // namespace obrel
