#include "app/warm_up.h"

#include <QEvent>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/qt/qt_media_player.h"

namespace obrel {

namespace {

// The window is given a moment on screen before the work starts, so that whatever else
// waits for its first paint (a compositor, a benchmark's probe) goes first.
constexpr int kSettleMs = 100;

// Owned by the watched window, so it goes with it.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* window, std::function<void()> call)
      : QObject(window), call_(std::move(call)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(kSettleMs, this, [this] {
        call_();
        deleteLater();
      });
    }
    return false;
  }

 private:
  std::function<void()> call_;
};

}  // namespace

void afterFirstPaint(QWidget* window, std::function<void()> call) {
  window->installEventFilter(new FirstPaint(window, std::move(call)));
}

void warmUpMedia(QtMediaPlayer& player) {
  player.player();
  // Without a display server there is no driver to load.
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  // The driver stays loaded for the display's lifetime once a context has been made.
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  if (context.create() && context.makeCurrent(&surface)) context.doneCurrent();
}

}  // namespace obrel
