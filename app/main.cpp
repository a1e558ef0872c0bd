// Obrel Dizivud: the program starts with its splash window, and opens the file its command
// line names once the main window is up.
#include <QApplication>

#include "app/command_line.h"
#include "app/qt_program.h"
#include "app/start_probes.h"

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
  obrel::StartProbes probes;
  probes.install(program);
  return QApplication::exec();
}
