#include "app/command_line.h"

#include <QCommandLineParser>
#include <QDir>
#include <cstdio>
#include <string_view>

namespace obrel {

namespace {

constexpr const char* kUsage =
    "Usage: obrel-dizivud [options] [FILE]\n"
    "Creates and edits SubRip (.srt) subtitle files.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays this help.\n"
    "  -v, --version  Displays the version.\n"
    "\n"
    "Arguments:\n"
    "  FILE           A subtitle file to open once the main window is up.\n";

}  // namespace

CommandLine answerWithoutDisplay(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;  // what follows is a file name
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return {std::nullopt, 0};
    }
    if (arg == "--version" || arg == "-v") {
      std::printf("obrel-dizivud %s\n", OBREL_VERSION);
      return {std::nullopt, 0};
    }
  }
  return {};
}

CommandLine readCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A subtitle file to open."));
  QString error;
  if (!parser.parse(arguments)) {
    error = parser.errorText();
  } else if (parser.positionalArguments().size() > 1) {
    error = QStringLiteral("Only one FILE may be given.");
  }
  if (!error.isEmpty()) {
    std::fprintf(stderr, "obrel-dizivud: %s\n\n%s", qPrintable(error), kUsage);
    return {std::nullopt, 2};
  }
  CommandLine line;
  if (!parser.positionalArguments().isEmpty()) {
    line.file =
        QDir::current().absoluteFilePath(parser.positionalArguments().first()).toStdString();
  }
  return line;
}

}  // namespace obrel
