#pragma once
// The program under Qt: the platform services, the window models (obrel::Program) and one
// QtForm per open window, created and retired as the model opens and closes windows.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/background_jobs.h"
#include "editor/recovery_keeper.h"
#include "platform/event_gate.h"
#include "platform/file_system.h"
#include "platform/qt/qt_browser.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_media_player.h"
#include "platform/qt/qt_prompts.h"
#include "platform/recovery_folder.h"
#include "shell/program.h"

namespace obrel {

class QtProgram : public QObject, public QtFormHost {
 public:
  // Needs a QApplication. The program folder is the executable's folder.
  QtProgram();
  ~QtProgram() override;
  QtProgram(const QtProgram&) = delete;
  QtProgram& operator=(const QtProgram&) = delete;

  Program& program() { return program_; }
  QtMediaPlayer& player() { return player_; }
  // The view of an open window; nullptr for a window that is not open.
  QtForm* view(const Form* form) const;

  // Program start: the splash window alone.
  void startWithSplash();

  // QtFormHost
  void run(const char* where, const std::function<void()>& call) override;
  QWidget* createPlayerWidget(QWidget* parent) override;
  void closeRequested(Form& form) override;
  void activated(Form& form) override;

  void syncAll();

 private:
  void windowsChanged();
  // After each event: the recovery copy follows the document, changes after the first
  // written a second later at the soonest.
  void followDocument();
  // Shows the box of a failure to keep the copy, if one waits and no event is running.
  void tellRecoveryFailure();
  void followWindows();
  // Boxes, dialogs and tool windows belong to the main window once it is up, before that to
  // the splash; nullptr when neither is open.
  QWidget* ownerWindow() const;

  QtPrompts prompts_;
  QtFileDialogs dialogs_;
  QtMediaPlayer player_;
  QtBrowser browser_;
  RealFileSystem files_;
  // The recovery copy is written on the jobs' thread; the program ends only once the last
  // write or removal is done.
  RecoveryFolder recoveryFolder_;
  BackgroundJobs jobs_;
  RecoveryKeeper recovery_;
  QTimer recoveryTimer_;
  Program program_;
  std::vector<std::unique_ptr<QtForm>> views_;
  // Views of closed windows, deleted once the event that closed them is over.
  std::vector<QPointer<QtForm>> retired_;
  EventGate gate_;
  bool quitting_ = false;
  bool followQueued_ = false;
  bool following_ = false;
  bool changing_ = false;
  bool changedAgain_ = false;
};

}  // namespace obrel
