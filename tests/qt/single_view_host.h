#pragma once
// Hosts one window's Qt view without the program: each user event through the event gate,
// then the window brought up to date and the view synced, as the program hosts its windows. The
// player's widget is the given player's, or a plain widget.
#include <QWidget>
#include <functional>

#include "platform/event_gate.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_media_player.h"

namespace obrel::qttest {

class SingleViewHost : public QtFormHost {
 public:
  explicit SingleViewHost(QtMediaPlayer* player = nullptr) : player_(player) {
    gate_.afterEach = [this] {
      if (!view) return;
      view->form()->refresh();
      view->sync();
    };
  }
  void run(const char* where, const std::function<void()>& call) override {
    gate_.run(where, call);
  }
  QWidget* createPlayerWidget(QWidget* parent) override {
    return player_ ? player_->createWidget(parent) : new QWidget(parent);
  }
  void closeRequested(Form&) override {}
  void activated(Form&) override {}
  QtForm* view = nullptr;

 private:
  EventGate gate_;
  QtMediaPlayer* player_;
};

}  // namespace obrel::qttest
