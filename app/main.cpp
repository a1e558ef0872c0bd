// Obrel Dizivud: the program starts with its splash window, and opens the file its command
// line names once the main window is up.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

#include "app/command_line.h"
#include "app/qt_program.h"
#include "platform/qt/qt_form.h"

namespace {

// With OBREL_SPLASH_PROBE set, the program prints "splash-shown" and the monotonic clock in
// nanoseconds once the splash picture has been painted, and ends: the benchmarks time the
// start-up this way. Without it nothing changes.
class SplashProbe : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint || reported_) return false;
    reported_ = true;
    // Queued, so the painted picture has reached the screen when the time is taken.
    QTimer::singleShot(0, qApp, [] {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("splash-shown %lld\n",
                  static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QCoreApplication::exit(0);
    });
    return false;
  }

 private:
  bool reported_ = false;
};

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
  SplashProbe probe;
  if (qEnvironmentVariableIsSet("OBREL_SPLASH_PROBE")) {
    if (obrel::QtForm* splash = program.view(program.program().form1())) {
      if (QWidget* picture = splash->widget("Picture1")) picture->installEventFilter(&probe);
    }
  }
  return QApplication::exec();
}
