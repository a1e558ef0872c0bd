#include "app/qt_program.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "app/warm_up.h"
#include "document/file_limits.h"
#include "platform/qt/qt_fonts.h"
#include "platform/window_placement.h"

// The pictures live in the static Qt library; nothing would pull them into the program
// without this reference. It must be outside any namespace.
static void initPictures() { Q_INIT_RESOURCE(resources); }

namespace obrel {

namespace {

void centreOnScreen(QWidget* window) {
  window->adjustSize();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  const QSize size = window->size();
  window->move(free.left() + std::max(0, (free.width() - size.width()) / 2),
               free.top() + std::max(0, (free.height() - size.height()) / 2));
}

ScreenRect screenRect(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

// A tool window opens beside its owner, on the owner's screen, so that it covers none of it
// where the screen has room.
void placeBesideOwner(QWidget* window, const QWidget* owner) {
  window->adjustSize();
  const QScreen* screen = owner->screen();
  if (!screen) return;
  // A window not shown yet has no frame: it is taken to get one like its owner's.
  const QRect frame = owner->frameGeometry();
  const QSize size = window->size() + (frame.size() - owner->geometry().size());
  const ScreenPoint at = placeBeside(screenRect(frame), size.width(), size.height(),
                                     screenRect(screen->availableGeometry()));
  window->move(at.x, at.y);
}

}  // namespace

QtProgram::QtProgram()
    : recoveryFolder_(recoveryFolderPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
                      kLargestRecoveryCopy),
      recovery_(recoveryFolder_, [this](std::function<void()> job) { jobs_.post(std::move(job)); }),
      program_(Services{prompts_, dialogs_, player_, browser_, files_,
                        QCoreApplication::applicationDirPath().toStdString()}) {
  program_.keepRecoveryCopies(recovery_);
  // A failure to keep the copy is found on the jobs' thread and told on this one.
  recovery_.onFailureWaiting = [this] {
    QMetaObject::invokeMethod(
        this, [this] { tellRecoveryFailure(); }, Qt::QueuedConnection);
  };
  recoveryTimer_.setSingleShot(true);
  recoveryTimer_.setInterval(1000);
  connect(&recoveryTimer_, &QTimer::timeout, this,
          [this] { run("recovery", [this] { program_.writeRecoveryDue(); }); });
  initPictures();
  installFontSubstitutions();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/obrel.ico")));
  // The model decides when the program ends: between the splash and the main window
  // there is a moment without a visible window.
  QApplication::setQuitOnLastWindowClosed(false);
  prompts_.beforeShow = [this] { syncAll(); };
  dialogs_.beforeShow = [this] { syncAll(); };
  // Not the active window: at start the question comes before the main window is active.
  prompts_.owner = [this] { return ownerWindow(); };
  dialogs_.owner = [this] { return ownerWindow(); };
  program_.onWindowsChanged = [this] { windowsChanged(); };
  // Windows closed by a handler are freed only when no handler is running any more.
  gate_.afterOutermost = [this] {
    program_.collect();
    // Not inside the event (a key press, say): once it is over.
    if (!following_ && !followQueued_) {
      followQueued_ = true;
      QTimer::singleShot(0, this, [this] {
        followQueued_ = false;
        following_ = true;
        run("recovery", [this] { followDocument(); });
        following_ = false;
        tellRecoveryFailure();
      });
    }
  };
  gate_.afterEach = [this] {
    program_.refresh();
    syncAll();
  };
}

QtProgram::~QtProgram() {
  program_.onWindowsChanged = nullptr;
  for (const QPointer<QtForm>& view : retired_) delete view.data();
  views_.clear();
}

QtForm* QtProgram::view(const Form* form) const {
  for (const auto& v : views_) {
    if (v->form() == form) return v.get();
  }
  return nullptr;
}

QWidget* QtProgram::ownerWindow() const {
  // A closed window has no view.
  if (const QtForm* main = view(program_.form2())) return main->window();
  if (const QtForm* splash = view(program_.form1())) return splash->window();
  return nullptr;
}

void QtProgram::startWithSplash() {
  run("start", [this] { program_.startWithSplash(); });
  if (QtForm* splash = view(program_.form1())) {
    afterFirstPaint(splash->window(), [this] { run("warm up", [this] { warmUpMedia(player_); }); });
  }
}

void QtProgram::run(const char* where, const std::function<void()>& call) {
  gate_.run(where, call);
}

void QtProgram::followDocument() {
  program_.afterEvent();
  if (program_.recoveryDue() && !recoveryTimer_.isActive()) recoveryTimer_.start();
}

void QtProgram::tellRecoveryFailure() {
  // Never inside another event (a modal box's own loop runs this too): the end of the
  // outermost one comes back here.
  if (gate_.busy() || !program_.recoveryFailureWaiting()) return;
  run("recovery", [this] { program_.tellRecoveryFailure(); });
}

void QtProgram::syncAll() {
  for (const auto& v : views_) v->sync();
}

QWidget* QtProgram::createPlayerWidget(QWidget* parent) { return player_.createWidget(parent); }

void QtProgram::closeRequested(Form& form) {
  run("close", [this, &form] { program_.close(form); });
}

void QtProgram::activated(Form& form) {
  // Qt may report a window the model has just closed (its activation was still queued).
  const std::vector<Form*> open = program_.windows();
  if (std::find(open.begin(), open.end(), &form) == open.end()) return;
  if (program_.active() == &form) return;
  run("activate", [this, &form] { program_.activate(form); });
}

void QtProgram::windowsChanged() {
  // Showing a window can deliver events that lead back here; finish this pass first.
  if (changing_) {
    changedAgain_ = true;
    return;
  }
  changing_ = true;
  do {
    changedAgain_ = false;
    followWindows();
  } while (changedAgain_);
  changing_ = false;
}

void QtProgram::followWindows() {
  const std::vector<Form*> open = program_.windows();
  // Views of closed windows let go of their models before anything else can happen; the
  // model frees the window after this event, and the view may still be on the stack (its
  // own click or key started this), so it is deleted later.
  std::vector<QtForm*> closed;
  for (auto it = views_.begin(); it != views_.end();) {
    if (std::find(open.begin(), open.end(), (*it)->form()) != open.end()) {
      ++it;
      continue;
    }
    QtForm* view = it->release();
    it = views_.erase(it);
    view->detach();
    closed.push_back(view);
  }
  // New windows come up before the closed ones go, so the screen is never empty.
  std::vector<QtForm*> shown;
  for (Form* form : open) {
    if (view(form)) continue;
    auto v = std::make_unique<QtForm>(*form, *this);
    QtForm* raw = v.get();
    views_.push_back(std::move(v));
    // Help, About and the tool windows belong to the main window; the tool windows open
    // beside it.
    const QtForm* main = view(program_.form2());
    const bool tool = program_.isToolWindow(*form);
    if (main && form != program_.form2() && form != program_.form1()) {
      raw->belongTo(main->window(), tool);
    }
    if (main && tool) {
      placeBesideOwner(raw->window(), main->window());
    } else {
      centreOnScreen(raw->window());
    }
    raw->window()->show();
    shown.push_back(raw);
  }
  for (QtForm* view : closed) {
    view->window()->hide();
    retired_.push_back(view);
    view->deleteLater();
  }
  std::erase_if(retired_, [](const QPointer<QtForm>& v) { return v.isNull(); });
  if (const Form* active = program_.active()) {
    if (QtForm* v = view(active)) {
      // A window just shown is on top already.
      if (std::find(shown.begin(), shown.end(), v) == shown.end()) v->window()->raise();
      v->window()->activateWindow();
    }
  }
  if (program_.ended() && !quitting_) {
    quitting_ = true;
    // Queued, so that it also ends a program whose event loop has not started yet.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  }
}

}  // namespace obrel
