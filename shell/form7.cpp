#include "shell/form7.h"

#include <initializer_list>

#include "document/entry_times.h"
#include "document/timing_tools.h"
#include "editor/field_keys.h"

namespace obrel {

namespace {

void place(Control& c, Rect at, const char* caption = "") {
  c.place = at;
  c.setCaption(caption);
}

// An entry number box's text as a number: 0 when it is empty (it holds digits only, at
// most four).
int entryNumber(const TextBox& box) {
  int n = 0;
  for (const char c : box.text()) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

Form7::Form7(Form2& main, Shell& shell) : Form("Form7"), main_(main), shell_(shell) {
  setCaption("Synchronize");
  clientWidth = 6360;
  clientHeight = 1920;
  modal = true;
  place(Label1, {240, 270, 1200, 285}, "First entry");
  place(Text1, {1440, 240, 705, 315});
  place(Label2, {2280, 270, 1000, 285}, "starts at");
  defineTimeBoxes(*this, first_, {&Label5, &Label6, &Label7}, "", 3360, 240, "First entry");
  place(Label3, {240, 750, 1200, 285}, "Second entry");
  place(Text6, {1440, 720, 705, 315});
  place(Label4, {2280, 750, 1000, 285}, "starts at");
  defineTimeBoxes(*this, second_, {&Label8, &Label9, &Label10}, "", 3360, 720, "Second entry");
  place(Command1, {3600, 1320, 1200, 375}, "OK");
  place(Command2, {4920, 1320, 1200, 375}, "Cancel");
  Text1.accessibleName = "First entry number";
  Text6.accessibleName = "Second entry number";
  for (Control* c : std::initializer_list<Control*>{
           &Label1, &Text1, &Label2,  &Text2,  &Label5,   &Text3,   &Label6, &Text4,
           &Label7, &Text5, &Label3,  &Text6,  &Label4,   &Text7,   &Label8, &Text8,
           &Label9, &Text9, &Label10, &Text10, &Command1, &Command2}) {
    add(*c);
  }
  setTabOrder({"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9",
               "Text10", "Command1", "Command2"});
  defaultButton = &Command1;
  cancelButton = &Command2;
  for (TextBox* number : {&Text1, &Text6}) {
    number->maxLength = 4;
    number->onKeyPress = [](int& code) { entryNumberKey(code); };
  }
  if (const auto ends = firstAndLastTimed(main.document().store)) {
    Text1.setText(std::to_string(ends->first));
    Text6.setText(std::to_string(ends->second));
    showStartOf(Text1, first_);
    showStartOf(Text6, second_);
  }
  Text1.onChange = [this] { showStartOf(Text1, first_); };
  Text6.onChange = [this] { showStartOf(Text6, second_); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { shell_.closeWindow(*this); };
}

void Form7::showStartOf(const TextBox& number, const TimeBoxes& start) {
  if (const auto times = timesAt(main_.document().store, entryNumber(number))) {
    showTime(start, times->start);
  }
}

void Form7::Command1_Click() {
  const std::optional<std::int64_t> a = timeIn(first_);
  const std::optional<std::int64_t> b = timeIn(second_);
  if (!a || !b) {
    main_.warn(kTimeDigitsMessage);
    return;
  }
  if (main_.applyTiming(Synchronize{entryNumber(Text1), entryNumber(Text6), *a, *b})) {
    shell_.closeWindow(*this);
  }
}

}  // namespace obrel
