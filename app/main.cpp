// Obrel Dizivud: the program starts with its splash window.
#include <QApplication>

#include "platform/qt/qt_form.h"
#include "platform/qt/qt_program.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Obrel Dizivud"));
  obrel::installFontSubstitutions();
  obrel::QtProgram program;
  program.startWithSplash();
  return QApplication::exec();
}
