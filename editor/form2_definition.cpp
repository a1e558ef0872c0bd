// The main window's definition: every control's place (twips), caption, tooltip, font and
// start state, the menu tree and the tab order.
#include <initializer_list>

#include "editor/form2.h"

namespace obrel {

namespace {

const Font kRounded14{"Arial Rounded MT Bold", 14.25, false};
const Font kRounded15{"Arial Rounded MT Bold", 15.75, false};
const Font kRounded12{"Arial Rounded MT Bold", 12, false};
const Font kArial12{"Arial", 12, false};
const Font kArialBold14{"Arial", 14.25, true};

void place(Control& c, const char* container, int left, int top, int width, int height,
           const Font& font = {}, const char* caption = "", const char* tooltip = "") {
  c.container = container;
  c.place = {left, top, width, height};
  c.font = font;
  c.setCaption(caption);
  c.tooltip = tooltip;
}

void timeBox(TextBox& box, int left, int width, int maxLength, const char* tooltip,
             const char* name) {
  place(box, "Frame1", left, 1500, width, 435, kArial12, "", tooltip);
  box.maxLength = maxLength;
  box.accessibleName = name;
}

}  // namespace

Form2::Form2(Services services, Shell& shell)
    : Form("Form2"), services_(std::move(services)), shell_(shell) {
  defineWindow();
  bindHandlers();
  showSubtitlesOnVideo();
}

void Form2::defineWindow() {
  setCaption("Obrel Dizivud");
  clientWidth = 17490;
  clientHeight = 9075;
  border = Border::FixedSingle;
  minButton = true;
  maxButton = false;
  defineTimeArea();
  defineTextArea();
  defineVideoPanel();
  defineStacking();
  defineMenus();
  setTabOrder({"Text1",    "Text2",    "Text3",    "Text4",    "Text5",    "Text6",
               "Text7",    "Text8",    "Text9",    "Text11",   "Command1", "Text10",
               "Command2", "Command3", "Command4", "Text12",   "Command5", "Picture1",
               "WMP",      "Command6", "Command8", "Command9", "Command7"});
}

void Form2::defineTimeArea() {
  // Directly in the window; Image3 lies over the leading blanks of Label24.
  place(Frame1, "", 0, -70, 17505, 8800);
  place(Label24, "", 13680, 8750, 2295, 265, {"Arial Narrow", 12, false},
        "      Like us on Facebook");
  place(Image3, "", 13680, 8760, 270, 270);
  Image3.picture = "logo-18.jpg";

  // Time and index area.
  place(Command4, "Frame1", 6840, 7550, 1335, 600, kRounded14, "Next >>", "Next");
  place(Command3, "Frame1", 5040, 7560, 1155, 600, kRounded14, "OK", "OK");
  // "<" and ">" say nothing when spoken.
  place(Command2, "Frame1", 1830, 7560, 405, 375, kRounded15, ">", "Next");
  Command2.accessibleName = "Next entry";
  place(Command1, "Frame1", 660, 7560, 405, 375, kRounded15, "<", "Previous");
  Command1.accessibleName = "Previous entry";
  place(Text10, "Frame1", 1050, 7560, 825, 390, kRounded14, "", "Entry index");
  Text10.maxLength = 4;
  Text10.accessibleName = "Entry number";
  place(Frame2, "Frame1", 450, 2400, 7965, 3975);
  timeBox(Text8, 7320, 700, 3, "ms", "End milliseconds");
  timeBox(Text7, 6780, 465, 2, "Seconds", "End seconds");
  timeBox(Text6, 6240, 465, 2, "Minutes", "End minutes");
  timeBox(Text5, 5700, 465, 2, "Hours", "End hours");
  timeBox(Text4, 3720, 700, 3, "ms", "Start milliseconds");
  timeBox(Text3, 3180, 465, 2, "Seconds", "Start seconds");
  timeBox(Text2, 2640, 465, 2, "Minutes", "Start minutes");
  timeBox(Text1, 2100, 465, 2, "Hours", "Start hours");
  place(Label10, "Frame1", 5100, 1500, 495, 435, kRounded12, "To");
  Label10.buddy = "Text5";
  place(Label9, "Frame1", 1110, 1500, 915, 435, kRounded12, "From :");
  Label9.buddy = "Text1";
  place(Label7, "Frame1", 780, 450, 1485, 435, kRounded14, "Timing :");
  place(Label6, "Frame1", 7230, 1500, 75, 345, kArialBold14, ".");
  place(Label5, "Frame1", 6690, 1500, 75, 315, kArialBold14, ":");
  place(Label4, "Frame1", 6150, 1500, 75, 315, kArialBold14, ":");
  place(Label3, "Frame1", 3630, 1500, 75, 345, kArialBold14, ".");
  place(Label2, "Frame1", 3090, 1500, 75, 315, kArialBold14, ":");
  place(Label1, "Frame1", 2550, 1500, 75, 315, kArialBold14, ":");
}

void Form2::defineTextArea() {
  // Entry text area; Text9 lies above Text11 and, at its full height, covers it.
  place(Text11, "Frame2", 330, 2370, 7305, 1305, kArial12, "", "Help Text");
  Text11.multiLine = true;
  Text11.setCovered(true);  // Text9 starts at its full height
  Text11.accessibleName = "Help text";
  place(Text9, "Frame2", 330, 660, 7305, 3015, kArial12, "", "Text");
  Text9.multiLine = true;
  Text9.accessibleName = "Entry text";
  place(Label8, "Frame2", 330, 180, 825, 315, kRounded14, "Text :");
  Label8.buddy = "Text9";
}

void Form2::defineVideoPanel() {
  // Video panel; Command5 lies above the right end of Text12.
  place(Text12, "Frame1", 9240, 550, 6255, 400, {"Calibri", 12, false});
  Text12.readOnly = true;
  Text12.setVisible(false);
  Text12.accessibleName = "Video file";
  place(Command5, "Frame1", 15420, 480, 1335, 555, kRounded14, "Open...", "Open Video");
  place(Picture1, "Frame1", 8880, 1320, 8200, 7215);
  Picture1.picture = "panel.bmp";
  place(Image1, "Picture1", 3600, 2160, 960, 960);
  Image1.picture = "logo-64.png";
  place(WMP, "Picture1", 120, 105, 7935, 6165);
  WMP.accessibleName = "Video player";
  // The picture buttons show no caption: only their tooltip and name say what they do.
  place(Command7, "Picture1", 5100, 6500, 615, 375, {}, "", "add to Ending Time");
  Command7.picture = "add-end.bmp";
  Command7.accessibleName = "Set end time from video";
  place(Command6, "Picture1", 2400, 6500, 615, 375, {}, "", "add to Starting Time");
  Command6.picture = "add-start.bmp";
  Command6.accessibleName = "Set start time from video";
  place(Command8, "Picture1", 3240, 6450, 600, 500, {}, "", "Step Backward");
  Command8.picture = "step-back.jpg";
  Command8.accessibleName = "Step video back";
  place(Command9, "Picture1", 4250, 6450, 600, 500, {}, "", "Step Forward");
  Command9.picture = "step-forward.jpg";
  Command9.accessibleName = "Step video forward";
}

void Form2::defineStacking() {
  // From the bottom of the stacking order to the top.
  for (Control* c : std::initializer_list<Control*>{
           &Frame1, &Label24, &Image3,   &Frame2,   &Command4, &Command3, &Command2, &Command1,
           &Text10, &Text8,   &Text7,    &Text6,    &Text5,    &Text4,    &Text3,    &Text2,
           &Text1,  &Label10, &Label9,   &Label7,   &Label6,   &Label5,   &Label4,   &Label3,
           &Label2, &Label1,  &Text11,   &Text9,    &Label8,   &Text12,   &Command5, &Picture1,
           &Image1, &WMP,     &Command7, &Command6, &Command8, &Command9}) {
    add(*c);
  }
  for (Control* c : {&Command3, &Command4, &Command6, &Command7, &Command8, &Command9, &WMP}) {
    c->setEnabled(false);
  }
}

void Form2::defineMenus() {
  // Menu by menu, in menu bar order.
  const auto addAll = [this](std::initializer_list<MenuItem*> items) {
    for (MenuItem* m : items) add(*m);
  };
  addAll({&File, &New, &Open, &OpenSrt, &OpenVideo, &OpenHelpText, &Save, &SaveAs, &Exit});
  addAll({&Edit, &Undo, &Redo, &InsertNewEntry, &ClearEntry, &DeleteEntry, &FindAndReplace});
  addAll({&Timings, &ShiftTimes, &Synchronize, &ChangeFrameRate, &SetStartAndShift, &PlayEntry});
  addAll({&Options, &EntryCheck, &FBlock, &HelpText, &HelpTextOn, &HelpTextOff, &Spelling,
          &SpellingLanguage});
  addAll({&View, &EntryList, &SubtitlesOnVideo});
  addAll({&Help, &ObrelHelp, &About});
  Save.setEnabled(false);
  SaveAs.setEnabled(false);
  Undo.setEnabled(false);
  Redo.setEnabled(false);
  // Until startSpelling finds a dictionary.
  Spelling.setEnabled(false);
  SpellingLanguage.setEnabled(false);
  Undo.shortcut = "Ctrl+Z";
  Redo.shortcut = "Ctrl+Shift+Z";
  Redo.separatorAfter = true;
  DeleteEntry.separatorAfter = true;
  FindAndReplace.shortcut = "Ctrl+F";
  // Keys without a menu entry. The window takes Ctrl+H before any box does: typed into a
  // box it would be character 8, Backspace.
  FindNextKey.shortcut = "F3";
  FindPreviousKey.shortcut = "Shift+F3";
  ReplaceKey.shortcut = "Ctrl+H";
  for (MenuItem* key : {&FindNextKey, &FindPreviousKey, &ReplaceKey}) {
    borrowedShortcuts.push_back({key->shortcut, key});
  }
  // Enabled with "add to Starting Time", once a video is open.
  PlayEntry.setEnabled(false);
  PlayEntry.shortcut = "F9";
  ShiftTimes.shortcut = "Ctrl+Shift+T";
  // It takes the player's position, as "add to Starting Time" does.
  SetStartAndShift.setEnabled(false);
  EntryList.shortcut = "F11";
  ObrelHelp.shortcut = "F12";
}

}  // namespace obrel
