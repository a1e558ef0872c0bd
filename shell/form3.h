#pragma once
// Form3, the Help window: the help file shipped beside the program, read each time the
// window is created.
#include <string>

#include "platform/form.h"

namespace obrel {

class FileSystem;

class Form3 : public Form {
 public:
  // programFolder holds Support/Help/Obrel_help.txt.
  Form3(FileSystem& files, std::string programFolder);

  Control Frame1{"Frame1", ControlKind::Frame};
  Control Label6{"Label6", ControlKind::Label};
  TextBox Text1{"Text1"};

  // Shows the help file in Text1 exactly as stored; a file that cannot be read leaves the
  // box empty.
  void Form_Load();

 private:
  FileSystem& files_;
  std::string programFolder_;
};

}  // namespace obrel
