#pragma once
// Where the program keeps the user's own files, by the desktop's rules for base folders: a
// variable naming an absolute path, else a folder under the home folder (HOME when it is
// an absolute path, else the one the user database gives).
#include <string>

namespace obrel {

// configHome (XDG_CONFIG_HOME) when it is an absolute path, else HOME/.config, with
// obrel-dizivud added; empty when there is no home folder.
std::string programConfigFolder(const char* configHome, const char* home);
// dataHome (XDG_DATA_HOME) when it is an absolute path, else HOME/.local/share, with
// obrel-dizivud added; empty when there is no home folder.
std::string programDataFolder(const char* dataHome, const char* home);

// The settings file and the personal word list, from this process's environment; empty
// when there is no home folder (reading an empty path finds nothing, writing fails).
std::string settingsFilePath();
std::string personalWordsPath();

}  // namespace obrel
