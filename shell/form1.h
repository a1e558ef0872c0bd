#pragma once
// Form1, the start-up splash: a borderless picture that gives way to the main window after
// four seconds, at once when clicked, or ends the program from its close button.
#include "platform/form.h"

namespace obrel {

class SplashHost {
 public:
  virtual ~SplashHost() = default;
  // Closes the splash, then creates and shows the main window.
  virtual void splashGivesWay() = 0;
  // Closes the splash alone; with no window left the program ends.
  virtual void closeSplash() = 0;
};

class Form1 : public Form {
 public:
  explicit Form1(SplashHost& host);

  Control Picture1{"Picture1", ControlKind::PictureBox};
  Control Command1{"Command1", ControlKind::PictureButton};
  Timer Timer1{"Timer1"};

  void Form_Load();
  void Timer1_Timer();
  void Picture1_Click();
  void Command1_Click();

 private:
  SplashHost& host_;
};

}  // namespace obrel
