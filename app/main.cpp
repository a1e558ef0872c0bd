// Obrel Dizivud: the program starts with its splash window, and opens the file its command
// line names once the main window is up.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/qt_program.h"
#include "platform/qt/qt_form.h"

namespace {

// Probes for the benchmarks, which time the program from outside: each prints what happened
// and the monotonic clock in nanoseconds, and ends the program. Without their environment
// variables nothing changes.
//   OBREL_SPLASH_PROBE   "splash-shown" once the splash picture has been painted.
//   OBREL_OPEN_PROBE=N   clicks the splash once it has been painted and has had time to
//                        settle, as a user would, printing "splash-gives-way" just before;
//                        then "entry-shown" once the main window has painted entry N in its
//                        fields (the index box and the entry's text).

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

// The open probe's second half: the main window's fields, watched from the click on.
void watchEntry(obrel::QtProgram& program, const QString& entry,
                std::vector<std::unique_ptr<PaintProbe>>& probes) {
  obrel::QtForm* main = program.view(program.program().form2());
  auto* index = main ? qobject_cast<QLineEdit*>(main->widget("Text10")) : nullptr;
  auto* text = main ? qobject_cast<QPlainTextEdit*>(main->widget("Text9")) : nullptr;
  if (!index || !text) return;
  auto painted = std::make_shared<int>(0);
  for (QWidget* field : {static_cast<QWidget*>(index), text->viewport()}) {
    probes.push_back(std::make_unique<PaintProbe>([index, entry] { return index->text() == entry; },
                                                  [painted] {
                                                    if (++*painted < 2) return;
                                                    report("entry-shown");
                                                    QCoreApplication::exit(0);
                                                  }));
    field->installEventFilter(probes.back().get());
  }
}

// Installs the probes the environment asks for on the splash the program has just shown.
void installProbes(obrel::QtProgram& program, std::vector<std::unique_ptr<PaintProbe>>& probes) {
  obrel::QtForm* splash = program.view(program.program().form1());
  QWidget* picture = splash ? splash->widget("Picture1") : nullptr;
  if (!picture) return;
  if (qEnvironmentVariableIsSet("OBREL_SPLASH_PROBE")) {
    probes.push_back(std::make_unique<PaintProbe>([] { return true; },
                                                  [] {
                                                    report("splash-shown");
                                                    QCoreApplication::exit(0);
                                                  }));
    picture->installEventFilter(probes.back().get());
  }
  const QString entry = qEnvironmentVariable("OBREL_OPEN_PROBE");
  if (entry.isEmpty()) return;
  // A file that never shows that entry ends the probe unreported.
  QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(3); });
  probes.push_back(std::make_unique<PaintProbe>([] { return true; },
                                                [&, picture, entry] {
                                                  QTimer::singleShot(
                                                      500, picture, [&, picture, entry] {
                                                        report("splash-gives-way");
                                                        click(picture);
                                                        watchEntry(program, entry, probes);
                                                      });
                                                }));
  picture->installEventFilter(probes.back().get());
}

}  // namespace

int main(int argc, char* argv[]) {
  const obrel::CommandLine answered = obrel::answerWithoutDisplay(argc, argv);
  if (answered.exitStatus >= 0) return answered.exitStatus;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Obrel Dizivud"));
  QApplication::setApplicationVersion(QStringLiteral(OBREL_VERSION));
  const obrel::CommandLine line = obrel::readCommandLine(QApplication::arguments());
  if (line.exitStatus >= 0) return line.exitStatus;
  obrel::QtProgram program;
  if (line.file) program.program().openAtStart(*line.file);
  program.startWithSplash();
  std::vector<std::unique_ptr<PaintProbe>> probes;
  installProbes(program, probes);
  return QApplication::exec();
}
