#pragma once
// The program's real main window for Qt tests: started past the splash (or not started, for
// the splash itself), its widgets found by their control names, the focus given through the
// model.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/qt_program.h"

namespace obrel::qttest {

// Runs what once a modal dialog is up, from inside its event loop.
inline void whenModal(std::function<void(QWidget*)> what) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, what = std::move(what)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    what(modal);
  });
  poll->start(10);
}

class RealWindow {
 public:
  // How far the program is started: past the splash to the main window, or not at all.
  enum class Start { MainWindow, Nothing };
  explicit RealWindow(Start start = Start::MainWindow) : p_(std::make_unique<QtProgram>()) {
    if (start == Start::MainWindow) startMain();
  }
  // The test's program ends normally, so that it leaves no recovery copy to the next one.
  ~RealWindow() {
    p_->program().endNormally();
    p_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  RealWindow(const RealWindow&) = delete;
  RealWindow& operator=(const RealWindow&) = delete;

  void startMain() {
    run([this] { p_->program().startMain(); });
  }
  QtProgram& program() { return *p_; }
  Form2& form2() { return *p_->program().form2(); }
  QtForm& view2() { return *p_->view(p_->program().form2()); }
  template <class W = QWidget>
  W* widget(const char* name) {
    return qobject_cast<W*>(view2().widget(name));
  }
  // A change to the model from outside a handler, synced to the widgets like a handler's.
  template <class Call>
  void run(Call call) {
    p_->run("test", call);
  }
  // Offscreen, the player's native video window may take the activation and Qt then clears
  // the widget focus; key tests make the main window active and give the focus through the
  // model.
  bool activate() {
    QWidget* window = view2().window();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
  }
  void focus(TextBox& box) {
    run([this, &box] { form2().setFocus(&box); });
  }

 private:
  std::unique_ptr<QtProgram> p_;
};

}  // namespace obrel::qttest
