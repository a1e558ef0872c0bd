#pragma once
// The program's command line: obrel-dizivud [--help] [--version] [FILE].
#include <QStringList>
#include <optional>
#include <string>

namespace obrel {

// What the command line asks for.
struct CommandLine {
  std::optional<std::string> file;  // made absolute
  int exitStatus = -1;              // 0 after --help or --version, 2 after an error; -1: run
};

// Answers --help and --version from the raw arguments, before there is a QApplication (and
// so a display): the text printed and exit status 0, or nothing to answer (-1).
CommandLine answerWithoutDisplay(int argc, char* argv[]);

// Reads the arguments QApplication left (its own options such as -platform taken away): at
// most one FILE. An unknown option or a second FILE prints the error and the usage to
// standard error, with exit status 2.
CommandLine readCommandLine(const QStringList& arguments);

}  // namespace obrel
