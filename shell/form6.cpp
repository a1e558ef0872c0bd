#include "shell/form6.h"

#include <initializer_list>

#include "document/entry_times.h"
#include "document/timing_tools.h"

namespace obrel {

namespace {

void place(Control& c, const char* container, Rect at, const char* caption = "") {
  c.container = container;
  c.place = at;
  c.setCaption(caption);
}

}  // namespace

Form6::Form6(Form2& main, Shell& shell) : Form("Form6"), main_(main), shell_(shell) {
  setCaption("Shift Times");
  clientWidth = 6240;
  clientHeight = 3480;
  minButton = true;
  place(Option1, "", {240, 240, 2280, 315}, "Shift by");
  defineTimeBoxes(*this, amount_, {&Label1, &Label2, &Label3}, "", 2640, 240, "Amount");
  place(Frame1, "", {2640, 600, 3360, 555});
  Frame1.accessibleName = "Direction";
  place(Option3, "Frame1", {120, 180, 1440, 300}, "Later");
  place(Option4, "Frame1", {1680, 180, 1440, 300}, "Earlier");
  place(Option2, "", {240, 1320, 2280, 315}, "New start of the current entry");
  defineTimeBoxes(*this, newStart_, {&Label4, &Label5, &Label6}, "", 2640, 1320, "New start");
  place(Frame2, "", {240, 1800, 5760, 1020});
  Frame2.accessibleName = "Entries";
  place(Option5, "Frame2", {120, 120, 5400, 270}, "All entries");
  place(Option6, "Frame2", {120, 400, 5400, 270}, "The current entry and all after it");
  place(Option7, "Frame2", {120, 680, 5400, 270}, "The current entry only");
  place(Command1, "", {3360, 2970, 1200, 375}, "Shift");
  place(Command2, "", {4680, 2970, 1200, 375}, "Close");
  for (Control* c : std::initializer_list<Control*>{
           &Option1, &Text1,   &Label1,  &Text2,   &Label2,  &Text3,    &Label3,  &Text4, &Frame1,
           &Option3, &Option4, &Option2, &Text5,   &Label4,  &Text6,    &Label5,  &Text7, &Label6,
           &Text8,   &Frame2,  &Option5, &Option6, &Option7, &Command1, &Command2}) {
    add(*c);
  }
  setTabOrder({"Option1", "Text1", "Text2", "Text3", "Text4", "Option3", "Option4", "Option2",
               "Text5", "Text6", "Text7", "Text8", "Option5", "Option6", "Option7", "Command1",
               "Command2"});
  select(Option1);
  select(Option3);
  select(Option5);
  defaultButton = &Command1;
  cancelButton = &Command2;
  // A shift can be taken back from here.
  borrowedShortcuts = {{main.Undo.shortcut, &main.Undo}, {main.Redo.shortcut, &main.Redo}};
  Option2.onClick = [this] { showCurrentStart(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { shell_.closeWindow(*this); };
}

void Form6::Form_Activate() {
  if (Option2.checked()) showCurrentStart();
}

void Form6::showCurrentStart() {
  if (const std::optional<EntryTimes> times = timesAt(main_.document().store, main_.CurrentIndex)) {
    showTime(newStart_, times->start);
  } else {
    clearTime(newStart_);
  }
}

void Form6::Command1_Click() {
  ShiftTimes shift;
  shift.current = main_.CurrentIndex;
  shift.reach = Option5.checked()   ? ShiftReach::All
                : Option6.checked() ? ShiftReach::CurrentAndLater
                                    : ShiftReach::CurrentOnly;
  const std::optional<std::int64_t> time = timeIn(Option2.checked() ? newStart_ : amount_);
  if (!time) {
    main_.warn(kTimeDigitsMessage);
    return;
  }
  if (Option2.checked()) {
    shift.newStart = *time;
  } else {
    shift.amount = Option4.checked() ? -*time : *time;
  }
  main_.applyTiming(shift);
}

}  // namespace obrel
