#include "app/start_probes.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>

#include "app/qt_program.h"
#include "platform/qt/qt_form.h"

namespace obrel {

namespace {

void report(const char* what) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%s %lld\n", what, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
}

// Calls then once, after the first paint of a watched widget at which ready() holds; queued,
// so that the painted picture has reached the screen.
class PaintProbe : public QObject {
 public:
  PaintProbe(std::function<bool()> ready, std::function<void()> then)
      : ready_(std::move(ready)), then_(std::move(then)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint || done_ || !ready_()) return false;
    done_ = true;
    QTimer::singleShot(0, qApp, then_);
    return false;
  }

 private:
  std::function<bool()> ready_;
  std::function<void()> then_;
  bool done_ = false;
};

void click(QWidget* widget) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  const QPointF global = widget->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, {}, {});
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

}  // namespace

StartProbes::StartProbes() = default;
StartProbes::~StartProbes() = default;

void StartProbes::watch(QWidget* widget, std::function<bool()> ready, std::function<void()> then) {
  probes_.push_back(std::make_unique<PaintProbe>(std::move(ready), std::move(then)));
  widget->installEventFilter(probes_.back().get());
}

// The open probe's second half: the main window's fields, watched from the click on.
void StartProbes::watchEntry(QtProgram& program, const QString& entry) {
  QtForm* main = program.view(program.program().form2());
  auto* index = main ? qobject_cast<QLineEdit*>(main->widget("Text10")) : nullptr;
  auto* text = main ? qobject_cast<QPlainTextEdit*>(main->widget("Text9")) : nullptr;
  if (!index || !text) return;
  auto painted = std::make_shared<int>(0);
  for (QWidget* field : {static_cast<QWidget*>(index), text->viewport()}) {
    watch(
        field, [index, entry] { return index->text() == entry; },
        [painted] {
          if (++*painted < 2) return;
          report("entry-shown");
          QCoreApplication::exit(0);
        });
  }
}

void StartProbes::install(QtProgram& program) {
  QtForm* splash = program.view(program.program().form1());
  QWidget* picture = splash ? splash->widget("Picture1") : nullptr;
  if (!picture) return;
  if (qEnvironmentVariableIsSet("OBREL_SPLASH_PROBE")) {
    watch(
        picture, [] { return true; },
        [] {
          report("splash-shown");
          QCoreApplication::exit(0);
        });
  }
  const QString entry = qEnvironmentVariable("OBREL_OPEN_PROBE");
  if (entry.isEmpty()) return;
  // A file that never shows that entry ends the probe unreported.
  QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(3); });
  watch(
      picture, [] { return true; },
      [this, &program, picture, entry] {
        QTimer::singleShot(500, picture, [this, &program, picture, entry] {
          report("splash-gives-way");
          click(picture);
          watchEntry(program, entry);
        });
      });
}

}  // namespace obrel
