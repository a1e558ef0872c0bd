#include "shell/form4.h"

#include "platform/internet_shortcut.h"

namespace obrel {

namespace {

void place(Control& c, int left, int top, int width, int height, const Font& font = {},
           const char* caption = "") {
  c.container = "Frame1";
  c.place = {left, top, width, height};
  c.font = font;
  c.setCaption(caption);
}

}  // namespace

Form4::Form4(FileSystem& files, Browser& browser, std::string programFolder)
    : Form("Form4"), files_(files), browser_(browser), programFolder_(std::move(programFolder)) {
  setCaption("About");
  clientWidth = 6750;
  clientHeight = 5235;
  border = Border::FixedSingle;
  Frame1.place = {0, -90, 7125, 5025};
  const Font calibri12{"Calibri", 12, false};
  const Font calibri14{"Calibri", 14.25, false};
  const Font candaraBold14{"Candara", 14.25, true};
  place(Label6, 570, 690, 3405, 375, calibri14, "Obrel Dizivud v 1.0.0.0");
  place(Image1, 5310, 630, 960, 960);
  Image1.picture = "logo-64.png";
  place(Label9, 570, 1080, 2475, 375, calibri12, "\u00A9 2026 Obrel team");
  place(Label3, 600, 1560, 4035, 375, calibri14, "https://obrel-dizivud.example.org/");
  place(Label7, 360, 2040, 3405, 375, candaraBold14, "Design and Programming :-");
  place(Label1, 600, 2400, 1665, 375, calibri14, "Obrel team");
  place(Label2, 360, 2880, 4245, 375, candaraBold14, "Thanks to followings :-");
  Label2.buddy = "Text1";
  place(Text1, 600, 3480, 5535, 1215, calibri12);
  Text1.accessibleName = "Thanks";
  Text1.multiLine = true;
  Text1.wrap = true;
  Text1.readOnly = true;
  Text1.setText("The Qt and GoogleTest projects\r\nEveryone who tested the program");
  for (Control* c : {&Frame1, &Label6, &Image1, &Label9, &Label3, &Label7, &Label1, &Label2,
                     static_cast<Control*>(&Text1)}) {
    add(*c);
  }
  setTabOrder({"Text1"});
  Label3.onClick = [this] { Label3_Click(); };
}

void Form4::Label3_Click() {
  openWebLink(files_, browser_, programFolder_ + "/Web Links/Obrel Home.url");
}

}  // namespace obrel
