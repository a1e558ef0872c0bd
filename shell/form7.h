#pragma once
// Form7, Synchronize (modal): two entries and the correct start of each; every time of the
// entries that take part is moved by the straight line through the two.
//
//   Label1 "First entry", Text1 its number, Label2 "starts at", Text2..Text5 its correct
//     start (hours, minutes, seconds, milliseconds)
//   Label3 "Second entry", Text6 its number, Label4 "starts at", Text7..Text10 its correct
//     start
//   Command1 "OK" (default button), Command2 "Cancel" (cancel button)
//   Label5..Label10 the separators of the two times
// It opens with the first and the last entry that take part and their present starts; a
// number typed that names an entry that takes part shows that entry's present start.
#include "editor/form2.h"
#include "platform/form.h"
#include "platform/services.h"
#include "shell/time_boxes.h"

namespace obrel {

class Form7 : public Form {
 public:
  Form7(Form2& main, Shell& shell);

  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  Control Label3{"Label3", ControlKind::Label}, Label4{"Label4", ControlKind::Label};
  TextBox Text1{"Text1"}, Text2{"Text2"}, Text3{"Text3"}, Text4{"Text4"}, Text5{"Text5"};
  TextBox Text6{"Text6"}, Text7{"Text7"}, Text8{"Text8"}, Text9{"Text9"}, Text10{"Text10"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Label5{"Label5", ControlKind::Label}, Label6{"Label6", ControlKind::Label};
  Control Label7{"Label7", ControlKind::Label}, Label8{"Label8", ControlKind::Label};
  Control Label9{"Label9", ControlKind::Label}, Label10{"Label10", ControlKind::Label};

  // "OK": synchronizes; the window closes unless the command was refused.
  void Command1_Click();

 private:
  // The present start of the entry number box names into its time boxes, when it takes part.
  void showStartOf(const TextBox& number, const TimeBoxes& start);

  Form2& main_;
  Shell& shell_;
  const TimeBoxes first_{&Text2, &Text3, &Text4, &Text5};
  const TimeBoxes second_{&Text7, &Text8, &Text9, &Text10};
};

}  // namespace obrel
