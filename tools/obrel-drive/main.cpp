// obrel-drive [--folder DIR] [--splash] [SCRIPT]: runs a script of user actions
// against the program's real window logic without a display and prints what the program shows.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/obrel-drive/driver.h"

namespace {

std::string executableFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : self.parent_path().string();
}

int usage() {
  std::cerr << "usage: obrel-drive [--folder DIR] [--splash] [SCRIPT]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = executableFolder();
  bool splash = false;
  std::string scriptPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--folder" && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg == "--splash") {
      splash = true;
    } else if ((!arg.empty() && arg[0] == '-' && arg != "-") || !scriptPath.empty()) {
      return usage();  // an unknown option, or a second script
    } else {
      scriptPath = arg;
    }
  }
  std::ifstream file;
  if (!scriptPath.empty() && scriptPath != "-") {
    file.open(scriptPath, std::ios::binary);
    if (!file) {
      std::cerr << "obrel-drive: cannot read " << scriptPath << '\n';
      return 2;
    }
  }
  std::istream& script = file.is_open() ? static_cast<std::istream&>(file) : std::cin;

  obrel::drive::Driver driver(folder, splash, std::cout);
  bool parsed = true;
  std::string line;
  for (int number = 1; !driver.crashed() && std::getline(script, line); ++number) {
    parsed = driver.run(line, number) && parsed;
  }
  // A crash ends the program where it stands, as a killed one ends: nothing is cleaned up.
  if (driver.crashed()) return 0;
  driver.finish();
  return parsed ? 0 : 2;
}
