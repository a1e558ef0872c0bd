#pragma once
// Form9, Find and Replace (not modal): what to find and what to put in its place, how to
// match, and the buttons that search and replace in the main window's entries.
//
//   Text1 "Find what", Text2 "Replace with" (Label1, Label2 their captions)
//   Check1 "Match case", Check2 "Whole words", Check3 "Regular expression"
//   Command1 "Find Next" (the default button, F3), Command2 "Find Previous" (Shift+F3),
//   Command3 "Replace", Command4 "Replace All", Command5 "Close" (the cancel button)
#include "editor/form2.h"
#include "platform/form.h"
#include "platform/services.h"

namespace obrel {

class Form9 : public Form {
 public:
  // The boxes start as the main window's findRequest() left them.
  Form9(Form2& main, Shell& shell);

  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  TextBox Text1{"Text1"}, Text2{"Text2"};
  CheckBox Check1{"Check1"}, Check2{"Check2"}, Check3{"Check3"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Command3{"Command3", ControlKind::Button}, Command4{"Command4", ControlKind::Button};
  Control Command5{"Command5", ControlKind::Button};

 private:
  void define();
  // The boxes and check boxes into the main window's request; the four action buttons
  // enabled while there is something to find.
  void requestChanged();

  Form2& main_;
  Shell& shell_;
};

}  // namespace obrel
