#pragma once
// Form8, Change Frame Rate (modal): every time t becomes t * from / to.
//
//   Label1 "From", Combo1 the frame rate the times were made for
//   Label2 "To", Combo2 the frame rate they are to fit
//   Both list 23.976, 24, 25, 29.97, 30, 50, 59.94 and 60; any rate can be typed.
//   Command1 "OK" (default button), Command2 "Cancel" (cancel button)
#include "editor/form2.h"
#include "platform/form.h"
#include "platform/services.h"

namespace obrel {

class Form8 : public Form {
 public:
  Form8(Form2& main, Shell& shell);

  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  ComboBox Combo1{"Combo1"}, Combo2{"Combo2"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};

  // "OK": changes the frame rate; the window closes unless the command was refused.
  void Command1_Click();

 private:
  Form2& main_;
  Shell& shell_;
};

}  // namespace obrel
