#pragma once
// Form6, Shift Times: moves the times of all entries, or of the current entry and those
// after it, or of the current entry alone, by an amount or to a new start of the current
// entry. Not modal: it stays open for one try after another, each Shift its own Undo step.
//
//   Option1 "Shift by" (the amount), Option2 "New start of the current entry"
//   Text1..Text4 the amount (hours, minutes, seconds, milliseconds)
//   Frame1 with Option3 "Later", Option4 "Earlier": the amount's direction
//   Text5..Text8 the current entry's new start, filled with its stored start whenever
//     Option2 is chosen or the window becomes active while it is chosen
//   Frame2 with Option5 "All entries", Option6 "The current entry and all after it",
//     Option7 "The current entry only"
//   Command1 "Shift" (default button), Command2 "Close" (cancel button)
//   Label1..Label6 the separators of the two times
#include "editor/form2.h"
#include "platform/form.h"
#include "platform/services.h"
#include "shell/time_boxes.h"

namespace obrel {

class Form6 : public Form {
 public:
  Form6(Form2& main, Shell& shell);

  OptionButton Option1{"Option1"}, Option2{"Option2"};
  TextBox Text1{"Text1"}, Text2{"Text2"}, Text3{"Text3"}, Text4{"Text4"};
  Control Frame1{"Frame1", ControlKind::Frame};
  OptionButton Option3{"Option3"}, Option4{"Option4"};
  TextBox Text5{"Text5"}, Text6{"Text6"}, Text7{"Text7"}, Text8{"Text8"};
  Control Frame2{"Frame2", ControlKind::Frame};
  OptionButton Option5{"Option5"}, Option6{"Option6"}, Option7{"Option7"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  Control Label3{"Label3", ControlKind::Label}, Label4{"Label4", ControlKind::Label};
  Control Label5{"Label5", ControlKind::Label}, Label6{"Label6", ControlKind::Label};

  // The new start follows the current entry each time the window comes forward.
  void Form_Activate() override;
  // "Shift": the shift the controls describe, on the main window's document.
  void Command1_Click();

 private:
  // The current entry's stored start into Text5..Text8 (empty when it has no times).
  void showCurrentStart();

  Form2& main_;
  Shell& shell_;
  const TimeBoxes amount_{&Text1, &Text2, &Text3, &Text4};
  const TimeBoxes newStart_{&Text5, &Text6, &Text7, &Text8};
};

}  // namespace obrel
