#pragma once
// A small tool window with the controls the program's own tool windows do not hold yet (check
// boxes, a multi-line box), for the tests of the controls, of their Qt views and of what a
// screen reader finds. It is no part of the program.
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/services.h"
#include "shell/program.h"

namespace obrel::fake {

inline void placeIn(Control& c, Rect place, const char* caption = "") {
  c.place = place;
  c.setCaption(caption);
}

// Not modal: Text1 takes up to four digits (its key handler drops anything else), Text2 is
// multi-line, Check1 a check box and Check2 a disabled one. Command1 "Apply", the default
// button, writes what they hold into Label1; Command2 "Close", the cancel button, closes it.
class SampleToolWindow : public Form {
 public:
  SampleToolWindow(std::string name, Shell& shell) : Form(std::move(name)), shell_(shell) {
    setCaption("Sample Tool");
    clientWidth = 4200;
    clientHeight = 2400;
    placeIn(Text1, {240, 240, 1200, 315});
    Text1.maxLength = 4;
    Text1.accessibleName = "Amount";
    placeIn(Text2, {1680, 240, 2280, 900});
    Text2.multiLine = true;
    Text2.accessibleName = "Notes";
    placeIn(Check1, {240, 1200, 1300, 300}, "Match case");
    placeIn(Check2, {1680, 1200, 1300, 300}, "Locked");
    Check2.setEnabled(false);
    placeIn(Command1, {240, 1560, 1200, 375}, "Apply");
    placeIn(Command2, {1560, 1560, 1200, 375}, "Close");
    placeIn(Label1, {240, 2040, 3700, 300});
    for (Control* c : std::initializer_list<Control*>{&Text1, &Text2, &Check1, &Check2, &Command1,
                                                      &Command2, &Label1}) {
      add(*c);
    }
    setTabOrder({"Text1", "Text2", "Check1", "Command1", "Command2"});
    defaultButton = &Command1;
    cancelButton = &Command2;
    Text1.onKeyPress = [](int& code) {
      if (code != kBackspace && (code < '0' || code > '9')) code = 0;
    };
    Command1.onClick = [this] {
      Label1.setCaption("Text1=" + Text1.text() + " Check1=" + (Check1.checked() ? "on" : "off"));
    };
    Command2.onClick = [this] { shell_.closeWindow(*this); };
  }

  TextBox Text1{"Text1"}, Text2{"Text2"};
  CheckBox Check1{"Check1"}, Check2{"Check2"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Label1{"Label1", ControlKind::Label};

 private:
  Shell& shell_;
};

// Declares the sample as the tool window called name, in place of the program's own window of
// that name for the test (Form9's controls are other kinds than the sample's).
inline void declareSampleWindow(Program& program, const std::string& name = "Form9") {
  program.declareToolWindow(
      name, [&program, name](Form2&) { return std::make_unique<SampleToolWindow>(name, program); });
}

}  // namespace obrel::fake
