#include "shell/form1.h"

namespace obrel {

Form1::Form1(SplashHost& host) : Form("Form1"), host_(host) {
  setCaption("Form1");
  clientWidth = 9600;
  clientHeight = 7785;
  border = Border::None;
  Picture1.place = {0, 0, 9645, 7815};
  Picture1.picture = "splash.jpg";
  Command1.container = "Picture1";
  Command1.place = {9210, 0, 345, 375};
  Command1.picture = "splash-close.jpg";
  // A picture alone says nothing to a screen reader or a hover.
  Command1.tooltip = "Close";
  Command1.accessibleName = "Close";
  Timer1.container = "Picture1";
  Timer1.intervalMs = 4000;
  add(Picture1);
  add(Command1);
  add(Timer1);
  Picture1.onClick = [this] { Picture1_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Form1::Form_Load() { Timer1.setEnabled(true); }

void Form1::Timer1_Timer() { host_.splashGivesWay(); }

void Form1::Picture1_Click() { host_.splashGivesWay(); }

void Form1::Command1_Click() {
  Timer1.setEnabled(false);
  host_.closeSplash();
}

}  // namespace obrel
