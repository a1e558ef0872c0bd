#include "shell/form9.h"

#include <initializer_list>

namespace obrel {

namespace {

void placeIn(Control& c, Rect place, const char* caption = "") {
  c.place = place;
  c.setCaption(caption);
}

}  // namespace

Form9::Form9(Form2& main, Shell& shell) : Form("Form9"), main_(main), shell_(shell) {
  define();
  const FindRequest& request = main_.findRequest();
  Text1.setText(request.findWhat);
  Text2.setText(request.replaceWith);
  Check1.setChecked(request.options.matchCase);
  Check2.setChecked(request.options.wholeWords);
  Check3.setChecked(request.options.regularExpression);
  requestChanged();
  Text1.onChange = [this] { requestChanged(); };
  Text2.onChange = [this] { requestChanged(); };
  for (CheckBox* check : {&Check1, &Check2, &Check3}) {
    check->onClick = [this] { requestChanged(); };
  }
  Command1.onClick = [this] { main_.FindNext(); };
  Command2.onClick = [this] { main_.FindPrevious(); };
  Command3.onClick = [this] { main_.ReplaceMatch(); };
  Command4.onClick = [this] { main_.ReplaceAll(); };
  Command5.onClick = [this] { shell_.closeWindow(*this); };
}

void Form9::define() {
  setCaption("Find and Replace");
  clientWidth = 6600;
  clientHeight = 2640;
  border = Border::FixedSingle;
  placeIn(Label1, {120, 180, 1380, 300}, "Find what:");
  Label1.buddy = "Text1";
  placeIn(Text1, {1560, 120, 3240, 360});
  placeIn(Label2, {120, 660, 1380, 300}, "Replace with:");
  Label2.buddy = "Text2";
  placeIn(Text2, {1560, 600, 3240, 360});
  placeIn(Check1, {1560, 1140, 3240, 300}, "Match case");
  placeIn(Check2, {1560, 1500, 3240, 300}, "Whole words");
  placeIn(Check3, {1560, 1860, 3240, 300}, "Regular expression");
  placeIn(Command1, {4980, 120, 1500, 375}, "Find Next");
  placeIn(Command2, {4980, 600, 1500, 375}, "Find Previous");
  placeIn(Command3, {4980, 1080, 1500, 375}, "Replace");
  placeIn(Command4, {4980, 1560, 1500, 375}, "Replace All");
  placeIn(Command5, {4980, 2160, 1500, 375}, "Close");
  // The labels name the boxes for a screen reader; the rest say what they are.
  for (Control* c :
       std::initializer_list<Control*>{&Label1, &Text1, &Label2, &Text2, &Check1, &Check2, &Check3,
                                       &Command1, &Command2, &Command3, &Command4, &Command5}) {
    add(*c);
  }
  setTabOrder({"Text1", "Text2", "Check1", "Check2", "Check3", "Command1", "Command2", "Command3",
               "Command4", "Command5"});
  defaultButton = &Command1;
  cancelButton = &Command5;
  // F3, Shift+F3, Ctrl+F and Ctrl+H as in the main window.
  for (MenuItem* key :
       {&main_.FindNextKey, &main_.FindPreviousKey, &main_.FindAndReplace, &main_.ReplaceKey}) {
    borrowedShortcuts.push_back({key->shortcut, key});
  }
}

void Form9::requestChanged() {
  main_.setFindRequest({Text1.text(),
                        Text2.text(),
                        {.matchCase = Check1.checked(),
                         .wholeWords = Check2.checked(),
                         .regularExpression = Check3.checked()}});
  const bool something = !Text1.text().empty();
  for (Control* c : {&Command1, &Command2, &Command3, &Command4}) c->setEnabled(something);
}

}  // namespace obrel
