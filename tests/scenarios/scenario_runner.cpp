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
#include <stdexcept>
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

struct Scenario {
  std::string script;
  std::vector<Expected> expected;
  bool splash = false;
  bool unprivileged = false;
};

Scenario readScenario(const fs::path& path) {
  Scenario scenario;
  int number = 0;
  for (const std::string& line : lines(readAll(path))) {
    ++number;
    if (line.rfind(">~ ", 0) == 0) {
      scenario.expected.push_back({line.substr(3), true, number});
    } else if (line.rfind("> ", 0) == 0) {
      scenario.expected.push_back({line.substr(2), false, number});
    } else {
      if (line.rfind("#! --splash", 0) == 0) scenario.splash = true;
      if (line.rfind("#! --unprivileged", 0) == 0) scenario.unprivileged = true;
      scenario.script += line + "\n";  // keeps the driver's line numbers apart from expectations
    }
  }
  return scenario;
}

struct Run {
  std::vector<std::string> printed;
  std::string errors;
  int exitCode = -1;
};

// Hands the working folder to nobody when root runs the scenario unprivileged; returns the
// command prefix that runs the driver as nobody.
std::string unprivilegedPrefix(const fs::path& work) {
  const std::string chown = "chown -R nobody:nogroup '" + work.string() + "'";
  if (std::system(chown.c_str()) != 0)
    throw std::runtime_error("cannot hand the working folder to nobody");
  return "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
}

// Runs the driver on the scenario's script in a fresh folder (with the data folder copied
// in as data/, when given), then removes the folder.
Run runDriver(const fs::path& drive, const Scenario& scenario, const char* dataFolder) {
  char pattern[] = "/tmp/obrel-scenario-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a working folder");
  const fs::path work = pattern;
  std::ofstream(work / ".script", std::ios::binary) << scenario.script;
  if (dataFolder) {
    std::error_code copyError;
    fs::copy(dataFolder, work / "data", fs::copy_options::recursive, copyError);
    if (copyError)
      throw std::runtime_error("cannot copy " + std::string(dataFolder) + ": " +
                               copyError.message());
  }
  const std::string prefix =
      scenario.unprivileged && geteuid() == 0 ? unprivilegedPrefix(work) : "";
  const std::string command = "cd '" + work.string() + "' && " + prefix + "'" + drive.string() +
                              "'" + (scenario.splash ? " --splash" : "") +
                              " .script > .out 2> .err";
  const int status = std::system(command.c_str());
  Run run{lines(readAll(work / ".out")), readAll(work / ".err"),
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  std::error_code ec;
  fs::permissions(work, fs::perms::owner_all, fs::perm_options::add, ec);
  for (const auto& entry : fs::recursive_directory_iterator(work, ec)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(work, ec);
  return run;
}

// Whether every printed line is expected, in order; reports the first one that is not.
bool matches(const std::string& name, const std::vector<Expected>& expected,
             const std::vector<std::string>& printed) {
  for (std::size_t i = 0; i < std::max(printed.size(), expected.size()); ++i) {
    if (i >= printed.size()) {
      std::cerr << name << ":" << expected[i].line
                << ": expected, not printed: " << expected[i].text << '\n';
      return false;
    }
    if (i >= expected.size()) {
      std::cerr << name << ": printed, not expected: " << printed[i] << '\n';
      return false;
    }
    const Expected& e = expected[i];
    if (e.pattern ? !std::regex_match(printed[i], std::regex(e.text)) : printed[i] != e.text) {
      std::cerr << name << ":" << e.line << ": expected\n  " << e.text << "\nprinted\n  "
                << printed[i] << '\n';
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: scenario_runner OBREL_DRIVE SCENARIO [DATA_FOLDER]\n";
    return 2;
  }
  const fs::path scenarioPath = fs::absolute(argv[2]);
  const Scenario scenario = readScenario(scenarioPath);
  Run run;
  try {
    run = runDriver(fs::absolute(argv[1]), scenario, argc == 4 ? argv[3] : nullptr);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 2;
  }
  bool ok = matches(scenarioPath.filename().string(), scenario.expected, run.printed);
  if (run.exitCode != 0) {
    std::cerr << "obrel-drive exited with " << run.exitCode << '\n';
    ok = false;
  }
  if (!run.errors.empty()) {
    std::cerr << "obrel-drive wrote to stderr:\n" << run.errors;
    ok = false;
  }
  if (!ok) {
    std::cerr << "--- all printed lines:\n";
    for (const std::string& p : run.printed) std::cerr << p << '\n';
  }
  return ok ? 0 : 1;
}
