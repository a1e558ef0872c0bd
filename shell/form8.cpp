#include "shell/form8.h"

#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "document/timing_tools.h"

namespace obrel {

namespace {

void place(Control& c, Rect at, const char* caption = "") {
  c.place = at;
  c.setCaption(caption);
}

}  // namespace

Form8::Form8(Form2& main, Shell& shell) : Form("Form8"), main_(main), shell_(shell) {
  setCaption("Change Frame Rate");
  clientWidth = 3840;
  clientHeight = 1920;
  modal = true;
  place(Label1, {240, 270, 720, 285}, "From");
  place(Combo1, {1080, 240, 2520, 315});
  place(Label2, {240, 750, 720, 285}, "To");
  place(Combo2, {1080, 720, 2520, 315});
  place(Command1, {1080, 1320, 1200, 375}, "OK");
  place(Command2, {2400, 1320, 1200, 375}, "Cancel");
  Combo1.accessibleName = "From frame rate";
  Combo2.accessibleName = "To frame rate";
  const std::vector<std::string> rates(std::begin(kFrameRateChoices), std::end(kFrameRateChoices));
  for (ComboBox* combo : {&Combo1, &Combo2}) {
    combo->maxLength = 16;
    combo->setItems(rates);
  }
  // A film's rate and the rate of a European broadcast: the change asked for most.
  Combo1.setText("23.976");
  Combo2.setText("25");
  for (Control* c :
       std::initializer_list<Control*>{&Label1, &Combo1, &Label2, &Combo2, &Command1, &Command2}) {
    add(*c);
  }
  setTabOrder({"Combo1", "Combo2", "Command1", "Command2"});
  defaultButton = &Command1;
  cancelButton = &Command2;
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { shell_.closeWindow(*this); };
}

void Form8::Command1_Click() {
  const std::optional<FrameRate> from = readFrameRate(Combo1.text());
  const std::optional<FrameRate> to = readFrameRate(Combo2.text());
  if (!from || !to) {
    main_.warn(kBadFrameRateMessage);
    return;
  }
  if (main_.applyTiming(ChangeFrameRate{*from, *to})) shell_.closeWindow(*this);
}

}  // namespace obrel
