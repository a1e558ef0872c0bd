// Runs one scenario file: the script lines go to obrel-drive, started in a fresh empty
// folder; every printed line must match the scenario's "> " (exact) or ">~ " (regular
// expression) lines, in order; the driver must exit with 0 and print nothing on stderr
// (a failure escaping a handler is reported there). A data folder, if given, is copied
// into the working folder as data/. A line "#! --unprivileged" runs the
// driver as the user nobody when the runner is root, who ignores file permissions, so that
// read-only files and folders mean what they say.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Expected {
  std::string text;
  bool pattern = false;
  int line = 0;
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: scenario_runner OBREL_DRIVE SCENARIO [DATA_FOLDER]\n";
    return 2;
  }
  const fs::path drive = fs::absolute(argv[1]);
  const fs::path scenario = fs::absolute(argv[2]);

  std::string script;
  std::vector<Expected> expected;
  bool splash = false;
  bool unprivileged = false;
  int number = 0;
  for (const std::string& line : lines(readAll(scenario))) {
    ++number;
    if (line.rfind(">~ ", 0) == 0) {
      expected.push_back({line.substr(3), true, number});
    } else if (line.rfind("> ", 0) == 0) {
      expected.push_back({line.substr(2), false, number});
    } else {
      if (line.rfind("#! --splash", 0) == 0) splash = true;
      if (line.rfind("#! --unprivileged", 0) == 0) unprivileged = true;
      script += line + "\n";  // keeps the driver's line numbers apart from expectations
    }
  }

  char pattern[] = "/tmp/obrel-scenario-XXXXXX";
  if (!mkdtemp(pattern)) {
    std::cerr << "cannot make a working folder\n";
    return 2;
  }
  const fs::path work = pattern;
  {
    std::ofstream(work / ".script", std::ios::binary) << script;
  }
  if (argc == 4) {
    // The scenario reads its fixture files as data/...
    std::error_code copyError;
    fs::copy(argv[3], work / "data", fs::copy_options::recursive, copyError);
    if (copyError) {
      std::cerr << "cannot copy " << argv[3] << ": " << copyError.message() << '\n';
      return 2;
    }
  }
  std::string prefix;
  if (unprivileged && geteuid() == 0) {
    const std::string chown = "chown -R nobody:nogroup '" + work.string() + "'";
    if (std::system(chown.c_str()) != 0) {
      std::cerr << "cannot hand the working folder to nobody\n";
      return 2;
    }
    prefix = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
  }
  std::string command = "cd '" + work.string() + "' && " + prefix + "'" + drive.string() + "'" +
                        (splash ? " --splash" : "") + " .script > .out 2> .err";
  const int status = std::system(command.c_str());
  const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const std::vector<std::string> printed = lines(readAll(work / ".out"));
  const std::string errors = readAll(work / ".err");
  std::error_code ec;
  fs::permissions(work, fs::perms::owner_all, fs::perm_options::add, ec);
  for (const auto& entry : fs::recursive_directory_iterator(work, ec)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(work, ec);

  bool ok = true;
  const std::size_t n = std::max(printed.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (i >= printed.size()) {
      std::cerr << scenario.filename().string() << ":" << expected[i].line
                << ": expected, not printed: " << expected[i].text << '\n';
      ok = false;
      break;
    }
    if (i >= expected.size()) {
      std::cerr << scenario.filename().string() << ": printed, not expected: " << printed[i]
                << '\n';
      ok = false;
      break;
    }
    const Expected& e = expected[i];
    const bool match = e.pattern ? std::regex_match(printed[i], std::regex(e.text))
                                 : printed[i] == e.text;
    if (!match) {
      std::cerr << scenario.filename().string() << ":" << e.line << ": expected\n  " << e.text
                << "\nprinted\n  " << printed[i] << '\n';
      ok = false;
      break;
    }
  }
  if (exitCode != 0) {
    std::cerr << "obrel-drive exited with " << exitCode << '\n';
    ok = false;
  }
  if (!errors.empty()) {
    std::cerr << "obrel-drive wrote to stderr:\n" << errors;
    ok = false;
  }
  if (!ok) {
    std::cerr << "--- all printed lines:\n";
    for (const std::string& p : printed) std::cerr << p << '\n';
  }
  return ok ? 0 : 1;
}
