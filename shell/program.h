#pragma once
// The program: it owns the windows, knows which are open and which is active, and ends
// when none is left. Views (the Qt windows, the driver) follow it through onWindowsChanged.
#include <functional>
#include <memory>
#include <vector>

#include "editor/form2.h"
#include "platform/services.h"
#include "shell/form1.h"

namespace obrel {

class Program : public Shell, public SplashHost {
 public:
  explicit Program(Services services);
  ~Program() override;

  // Program start: the splash alone, its timer running.
  void startWithSplash();
  // Start as if the splash had given way: the main window loaded and shown.
  void startMain();

  Form1* form1() const { return form1_.get(); }
  Form2* form2() const { return form2_.get(); }

  // The open windows, in the order Form1, Form2, Form3, Form4.
  std::vector<Form*> windows() const;
  Form* active() const { return active_; }
  bool ended() const { return windows().empty(); }

  // The user clicks on a window / on its close box.
  void activate(Form& form);
  void close(Form& form);

  // Drops windows closed during the last event; call between events, never from a handler.
  void collect();

  // Shell
  void showHelp() override;
  void showAbout() override;
  void unloadAll() override;
  // SplashHost
  void splashGivesWay() override;
  void closeSplash() override;

  // Called after a window opened or closed, or the active window changed.
  std::function<void()> onWindowsChanged;

 private:
  void changed();
  void retire(std::unique_ptr<Form1>& form);
  void retire(std::unique_ptr<Form2>& form);
  void pickActive();

  Services services_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  Form* active_ = nullptr;
  // Windows closed inside one of their own handlers live on until collect().
  std::vector<std::unique_ptr<Form>> closed_;
};

}  // namespace obrel
