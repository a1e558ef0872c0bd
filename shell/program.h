#pragma once
// The program: it owns the windows, knows which are open and which is active, and ends
// when none is left. Views (the Qt windows, the driver) follow it through onWindowsChanged.
// Besides the splash, the main window, Help and About it holds the tool windows Form5 (the
// entry list) to Form9, each made by the maker declared for it when it first opens.
#include <array>
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
  // Makes a tool window over the main window it works with.
  using ToolWindowMaker = std::function<std::unique_ptr<Form>(Form2& main)>;

  // Declares the program's tool windows.
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
  // Where the main window's spelling finds dictionaries and keeps its files; without it
  // (tests) there is no dictionary. Set before the main window comes up.
  void useSpelling(SpellingPlaces places) { spellingPlaces_ = std::move(places); }

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
  Form5* form5() const;

  // Declares the tool window called name, "Form5" .. "Form9" (again: make replaces the maker,
  // for windows opened from then on); make builds it each time it opens.
  void declareToolWindow(const std::string& name, ToolWindowMaker make);
  // The open tool window called name, or nullptr.
  Form* toolWindow(const std::string& name) const;
  bool isToolWindow(const Form& form) const;
  // The open modal window that keeps the user from form, or nullptr: a modal window blocks
  // every other window. One modal window is open at a time (it opens no other).
  Form* blockedBy(const Form& form) const;

  // The open windows, in the order Form1 .. Form9.
  std::vector<Form*> windows() const;
  Form* active() const { return active_; }
  bool ended() const { return windows().empty(); }

  // The user clicks on a window / on its close box. While Help or About is open, the one
  // shown last takes the activation back from the main window and the tool windows; the two
  // never bounce it. While a modal window is open, it keeps the activation and no other
  // window closes.
  void activate(Form& form);
  void close(Form& form);

  // Drops windows closed during the last event; call between events, never from a handler.
  void collect();
  // Brings the open windows up to date with what the event changed (Form::refresh); call
  // after each event, before the views follow.
  void refresh();

  // Shell. Help and About are created (Help reading its file) when not open, and become
  // the active window either way; unloadAll closes Form2, Form1, Form3, Form4 in turn, and
  // the tool windows with the main window. A tool window opens (while the main window is
  // open) or comes forward, active unless Help or About keeps the activation; a modal one is
  // active either way. It stays open across New and Open. The entry list is Form5.
  void showHelp() override;
  void showAbout() override;
  void showEntryList() override;
  Form* showToolWindow(const std::string& name) override;
  void closeWindow(Form& window) override;
  void unloadAll() override;
  // SplashHost
  void splashGivesWay() override;
  void closeSplash() override;

  // Called after a window opened or closed, or the active window changed.
  std::function<void()> onWindowsChanged;

 private:
  // A tool window's place: its maker, the window while open, and the window that was active
  // when it opened (a modal one gives the activation back to it).
  struct ToolSlot {
    ToolWindowMaker make;
    std::unique_ptr<Form> window;
    Form* opener = nullptr;
  };
  static constexpr int kFirstTool = 5;
  static constexpr int kLastTool = 9;
  // The slot of "FormN", or nullptr when N is no tool window's number.
  ToolSlot* toolSlot(const std::string& name);
  const ToolSlot* toolSlot(const std::string& name) const;
  Form* modalWindow() const;
  bool isOpen(const Form* form) const;

  void changed();
  template <class W>
  void retire(std::unique_ptr<W>& form);
  void closeOpen(Form& form);
  // Makes window, just created or already open, the active one and the one shown last.
  void bringForward(Form& window);
  // After a close: the active window, when it closed, gives way to the modal window if one is
  // open, else to the window that opened it if it was modal, else to the last open one.
  void pickActive(Form* closedOpener = nullptr);
  // The active window; a window that becomes active runs its Form_Activate.
  void setActive(Form* form);

  Services services_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<Form3> form3_;
  std::unique_ptr<Form4> form4_;
  std::array<ToolSlot, kLastTool - kFirstTool + 1> tools_;
  Form* active_ = nullptr;
  std::string fileAtStart_;
  SpellingPlaces spellingPlaces_;
  RecoveryKeeper* recovery_ = nullptr;
  bool recoveryOffered_ = false;
  // Of Help and About, the one shown last while open; it keeps the main window behind it.
  Form* front_ = nullptr;
  // Windows closed inside one of their own handlers live on until collect().
  std::vector<std::unique_ptr<Form>> closed_;
};

}  // namespace obrel
