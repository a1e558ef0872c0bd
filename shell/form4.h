#pragma once
// Form4, the About window: the program's name and version, its web address (a link),
// its authors and credits.
#include <string>

#include "platform/form.h"

namespace obrel {

class Browser;
class FileSystem;

class Form4 : public Form {
 public:
  // programFolder holds Web Links/Obrel Home.url.
  Form4(FileSystem& files, Browser& browser, std::string programFolder);

  Control Frame1{"Frame1", ControlKind::Frame};
  Control Label6{"Label6", ControlKind::Label};
  Control Image1{"Image1", ControlKind::Image};
  Control Label9{"Label9", ControlKind::Label};
  Control Label3{"Label3", ControlKind::Label};
  Control Label7{"Label7", ControlKind::Label};
  Control Label1{"Label1", ControlKind::Label};
  Control Label2{"Label2", ControlKind::Label};
  TextBox Text1{"Text1"};

  // The web address: opens Web Links/Obrel Home.url in the browser.
  void Label3_Click();

 private:
  FileSystem& files_;
  Browser& browser_;
  std::string programFolder_;
};

}  // namespace obrel
