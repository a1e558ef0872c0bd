#pragma once
// What a window's handlers reach outside the logic: the platform's dialogs, the media
// player, the browser, the files and the program folder.
#include <string>

namespace obrel {

class Prompts;
class FileDialogs;
class MediaPlayer;
class Browser;
class FileSystem;
class Form;

struct Services {
  Prompts& prompts;
  FileDialogs& dialogs;
  MediaPlayer& player;
  Browser& browser;
  FileSystem& files;
  std::string programFolder;  // holds Support/ and Web Links/
};

// What the main window asks of the program that owns the windows.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void showHelp() = 0;
  virtual void showAbout() = 0;
  // The entry list window, opened or brought forward.
  virtual void showEntryList() = 0;
  // The tool window called name ("Form5" .. "Form9") opened, or brought forward when it is
  // open: the window, or nullptr when it cannot open. A shell without tool windows opens none.
  virtual Form* showToolWindow(const std::string& name) {
    (void)name;
    return nullptr;
  }
  // Closes window as its close box does (a tool window's own Close button).
  virtual void closeWindow(Form& window) { (void)window; }
  // Unloads every window, Form2 first; the program ends with none left.
  virtual void unloadAll() = 0;
};

}  // namespace obrel
