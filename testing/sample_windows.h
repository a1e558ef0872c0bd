#pragma once
// Two small tool windows with a control of each kind, for the tests of the controls, of the
// program's window handling, of their Qt views and of the driver (obrel-drive
// --test-windows). They are no part of the program.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "platform/form.h"
#include "platform/services.h"
#include "shell/program.h"

namespace obrel::fake {

inline void placeIn(Control& c, const char* container, Rect place, const char* caption = "") {
  c.container = container;
  c.place = place;
  c.setCaption(caption);
}

// Form6, not modal: Text1 takes up to four digits (its key handler drops anything else), Text2
// is multi-line, Check1 a check box (Check2 a disabled one), Option1 and Option2 one group in
// Frame1, Option3 and Option4 another in the window, Combo1 a combo box of frame rates.
// Command1 "Apply", the default button, writes what they hold into Label1; Command2 "Close",
// the cancel button, closes the window; Command3 "More..." opens Form7. Shift+F3 counts in
// Label2, and Label3 counts the times the window became active.
class SampleToolWindow : public Form {
 public:
  explicit SampleToolWindow(Shell& shell) : Form("Form6"), shell_(shell) {
    setCaption("Sample Tool");
    clientWidth = 6000;
    clientHeight = 4000;
    minButton = true;
    placeIn(Text1, "", {240, 240, 1200, 315});
    Text1.maxLength = 4;
    Text1.accessibleName = "Amount";
    placeIn(Text2, "", {1680, 240, 2400, 900});
    Text2.multiLine = true;
    Text2.accessibleName = "Notes";
    placeIn(Combo1, "", {4200, 240, 1500, 315});
    Combo1.accessibleName = "Frame rate";
    Combo1.setItems({"23.976", "24", "25"});
    Combo1.setText("24");
    placeIn(Check1, "", {240, 1200, 1300, 300}, "Match case");
    placeIn(Check2, "", {240, 1560, 1300, 300}, "Locked");
    Check2.setEnabled(false);
    placeIn(Frame1, "", {1680, 1200, 2000, 1000});
    Frame1.accessibleName = "Direction";
    placeIn(Option1, "Frame1", {120, 200, 1600, 300}, "Later");
    placeIn(Option2, "Frame1", {120, 560, 1600, 300}, "Earlier");
    placeIn(Option3, "", {3840, 1200, 1000, 300}, "All");
    placeIn(Option4, "", {3840, 1560, 1000, 300}, "Current");
    placeIn(Command1, "", {240, 3000, 1200, 375}, "Apply");
    placeIn(Command2, "", {1560, 3000, 1200, 375}, "Close");
    placeIn(Command3, "", {2880, 3000, 1200, 375}, "More...");
    placeIn(Label1, "", {240, 3480, 5500, 300});
    placeIn(Label2, "", {4200, 2400, 1500, 300}, "Again 0");
    placeIn(Label3, "", {4200, 2760, 1500, 300}, "Active 0");
    for (Control* c : std::initializer_list<Control*>{
             &Text1, &Text2, &Combo1, &Check1, &Check2, &Frame1, &Option1, &Option2, &Option3,
             &Option4, &Command1, &Command2, &Command3, &Label1, &Label2, &Label3}) {
      add(*c);
    }
    setTabOrder({"Text1", "Text2", "Combo1", "Check1", "Option1", "Option2", "Option3", "Option4",
                 "Command1", "Command2", "Command3"});
    select(Option1);
    defaultButton = &Command1;
    cancelButton = &Command2;
    Again.shortcut = "Shift+F3";
    borrowedShortcuts = {{Again.shortcut, &Again}};
    Text1.onKeyPress = [](int& code) {
      if (code != kBackspace && (code < '0' || code > '9')) code = 0;
    };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { shell_.closeWindow(*this); };
    Command3.onClick = [this] { shell_.showToolWindow("Form7"); };
    Again.onClick = [this] { Label2.setCaption("Again " + std::to_string(++again)); };
  }

  TextBox Text1{"Text1"}, Text2{"Text2"};
  ComboBox Combo1{"Combo1"};
  CheckBox Check1{"Check1"}, Check2{"Check2"};
  Control Frame1{"Frame1", ControlKind::Frame};
  OptionButton Option1{"Option1"}, Option2{"Option2"}, Option3{"Option3"}, Option4{"Option4"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Command3{"Command3", ControlKind::Button};
  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  Control Label3{"Label3", ControlKind::Label};
  MenuItem Again{"Again", "Again", ""};
  int again = 0;
  int activations = 0;

  void Form_Activate() override { Label3.setCaption("Active " + std::to_string(++activations)); }

  void Command1_Click() {
    std::string seen = "Text1=" + Text1.text() + " Check1=" + (Check1.checked() ? "on" : "off");
    for (const OptionButton* o : {&Option1, &Option2, &Option3, &Option4}) {
      if (o->checked()) seen += " " + o->name();
    }
    Label1.setCaption(seen + " Combo1=" + Combo1.text());
  }

 private:
  Shell& shell_;
};

// Form7, modal: Text1, Command1 "OK" (the default button) hands its text to done and closes
// the window, Command2 "Cancel" (the cancel button) closes it.
class SampleModalWindow : public Form {
 public:
  SampleModalWindow(Shell& shell, std::function<void(const std::string&)> done)
      : Form("Form7"), shell_(shell), done_(std::move(done)) {
    setCaption("Sample Question");
    clientWidth = 4000;
    clientHeight = 1500;
    modal = true;
    placeIn(Text1, "", {240, 240, 3500, 315});
    Text1.accessibleName = "Answer";
    placeIn(Command1, "", {1200, 840, 1200, 375}, "OK");
    placeIn(Command2, "", {2520, 840, 1200, 375}, "Cancel");
    add(Text1);
    add(Command1);
    add(Command2);
    setTabOrder({"Text1", "Command1", "Command2"});
    defaultButton = &Command1;
    cancelButton = &Command2;
    Command1.onClick = [this] {
      done_(Text1.text());
      shell_.closeWindow(*this);
    };
    Command2.onClick = [this] { shell_.closeWindow(*this); };
  }

  TextBox Text1{"Text1"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};

 private:
  Shell& shell_;
  std::function<void(const std::string&)> done_;
};

// Declares Form6 and Form7 in program; Form7's OK writes "OK " and its text into Form6's
// Label1 when Form6 is open.
inline void declareSampleWindows(Program& program) {
  program.declareToolWindow(
      "Form6", [&program](Form2&) { return std::make_unique<SampleToolWindow>(program); });
  program.declareToolWindow("Form7", [&program](Form2&) {
    return std::make_unique<SampleModalWindow>(program, [&program](const std::string& text) {
      if (auto* six = dynamic_cast<SampleToolWindow*>(program.toolWindow("Form6")))
        six->Label1.setCaption("OK " + text);
    });
  });
}

}  // namespace obrel::fake
