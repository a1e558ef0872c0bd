#pragma once
// The program: it owns the windows, knows which are open and which is active, and ends
// when none is left. Views (the Qt windows, the driver) follow it through onWindowsChanged.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/form2.h"
#include "editor/recovery_keeper.h"
#include "platform/services.h"
#include "shell/form1.h"
#include "shell/form3.h"
#include "shell/form4.h"
#include "shell/form5.h"

namespace obrel {

class Program : public Shell, public SplashHost {
 public:
  explicit Program(Services services);
  ~Program() override;

  // Program start: the splash alone, its timer running.
  void startWithSplash();
  // Start as if the splash had given way: the main window loaded and shown, an abandoned
  // recovery copy offered (unless offerRecovery is false: the caller offers it later), then
  // the file given to openAtStart opened as File > Open > Subtitle File (.srt) opens a
  // chosen file.
  void startMain(bool offerRecovery = true);
  // A file to open once the main window is up (the program's command line).
  void openAtStart(std::string path) { fileAtStart_ = std::move(path); }

  // Recovery copies of the main window's document, kept by keeper; without one (tests)
  // nothing is kept or offered. Set before the main window comes up.
  void keepRecoveryCopies(RecoveryKeeper& keeper) { recovery_ = &keeper; }
  // Offers an abandoned copy once; the main window must be up.
  void offerRecovery();
  // After each event from the user: the copy follows the document.
  void afterEvent();
  // Whether changes wait for the next timed write of the copy, and that write.
  bool recoveryDue() const { return recovery_ && recovery_->due(); }
  void writeRecoveryDue();
  // The program ends normally: its copy goes. unloadAll does this too.
  void endNormally();
  // Whether a failure to keep the copy waits to be told, and telling it (between events).
  bool recoveryFailureWaiting() const { return recovery_ && recovery_->failureWaiting(); }
  void tellRecoveryFailure();
  Form1* form1() const { return form1_.get(); }
  Form2* form2() const { return form2_.get(); }
  Form3* form3() const { return form3_.get(); }
  Form4* form4() const { return form4_.get(); }
  Form5* form5() const { return form5_.get(); }

  // The open windows, in the order Form1 .. Form5.
  std::vector<Form*> windows() const;
  Form* active() const { return active_; }
  bool ended() const { return windows().empty(); }

  // The user clicks on a window / on its close box. While Help or About is open, the one
  // shown last takes the activation back from the main window; the two never bounce it.
  void activate(Form& form);
  void close(Form& form);

  // Drops windows closed during the last event; call between events, never from a handler.
  void collect();
  // Brings the open windows up to date with what the event changed (Form::refresh); call
  // after each event, before the views follow.
  void refresh();

  // Shell. Help and About are created (Help reading its file) when not open, and become
  // the active window either way; unloadAll closes Form2, Form1, Form3, Form4 in turn, and
  // the entry list with the main window. The entry list opens or comes forward, active
  // unless Help or About keeps the activation.
  void showHelp() override;
  void showAbout() override;
  void showEntryList() override;
  void unloadAll() override;
  // SplashHost
  void splashGivesWay() override;
  void closeSplash() override;

  // Called after a window opened or closed, or the active window changed.
  std::function<void()> onWindowsChanged;

 private:
  void changed();
  template <class W>
  void retire(std::unique_ptr<W>& form);
  // Makes window, just created or already open, the active one and the one shown last.
  void bringForward(Form& window);
  void pickActive();

  Services services_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<Form3> form3_;
  std::unique_ptr<Form4> form4_;
  std::unique_ptr<Form5> form5_;
  Form* active_ = nullptr;
  std::string fileAtStart_;
  RecoveryKeeper* recovery_ = nullptr;
  bool recoveryOffered_ = false;
  // Of Help and About, the one shown last while open; it keeps the main window behind it.
  Form* front_ = nullptr;
  // Windows closed inside one of their own handlers live on until collect().
  std::vector<std::unique_ptr<Form>> closed_;
};

}  // namespace obrel
