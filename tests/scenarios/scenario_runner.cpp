// Runs one scenario file: the script lines go to obrel-drive, started in a fresh empty
// folder; every printed line must match the scenario's "> " (exact) or ">~ " (regular
// expression) lines, in order; the driver must exit with 0 and print nothing on stderr
// (a failure escaping a handler is reported there). A data folder, if given, is copied
// into the working folder as data/. A line "#! --unprivileged" runs the
// driver as the user nobody when the runner is root, who ignores file permissions, so that
// read-only files and folders mean what they say.
// Each run has its own state folder (XDG_STATE_HOME, where recovery copies go), cache folder
// (XDG_CACHE_HOME, where backups of saves in place go) and temporary folder (TMPDIR) in the
// working folder, and so have the settings (XDG_CONFIG_HOME) and the personal word list
// (XDG_DATA_HOME); spelling uses the test dictionaries of the data folder (DICPATH) in the C
// locale, so that no run depends on the machine. A line "#! --run" ends the driver's script there
// and starts the driver again on the same folders, as a user starting the program anew; "#!
// --beside" does the same while the run before is still going: that one has run its lines (the
// runner waits until it has printed the lines expected of it) and ends after the new one. The lines
// printed by all runs are compared, in the order the runs started.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
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

// One start of the driver.
struct Start {
  std::string script;
  std::size_t expectedLines = 0;
  bool beside = false;  // started while the run before is still going
};

struct Scenario {
  std::vector<Start> runs{1};
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
      ++scenario.runs.back().expectedLines;
    } else if (line.rfind("> ", 0) == 0) {
      scenario.expected.push_back({line.substr(2), false, number});
      ++scenario.runs.back().expectedLines;
    } else if (line.rfind("#! --run", 0) == 0 || line.rfind("#! --beside", 0) == 0) {
      scenario.runs.push_back({"", 0, line.rfind("#! --beside", 0) == 0});
    } else {
      if (line.rfind("#! --splash", 0) == 0) scenario.splash = true;
      if (line.rfind("#! --unprivileged", 0) == 0) scenario.unprivileged = true;
      // Keeps the driver's line numbers apart from expectations.
      scenario.runs.back().script += line + "\n";
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

// Waits until the file has at least count lines, for ten seconds at the most.
void awaitLines(const fs::path& file, std::size_t count) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (lines(readAll(file)).size() < count && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int exitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// Runs the driver on the scenario's scripts in a fresh folder (with the data folder copied
// in as data/, when given), then removes the folder.
Run runDriver(const fs::path& drive, const Scenario& scenario, const char* dataFolder) {
  char pattern[] = "/tmp/obrel-scenario-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a working folder");
  const fs::path work = pattern;
  if (dataFolder) {
    std::error_code copyError;
    fs::copy(dataFolder, work / "data", fs::copy_options::recursive, copyError);
    if (copyError)
      throw std::runtime_error("cannot copy " + std::string(dataFolder) + ": " +
                               copyError.message());
  }
  fs::create_directory(work / ".tmp");
  const std::string prefix =
      scenario.unprivileged && geteuid() == 0 ? unprivilegedPrefix(work) : "";
  // The command of run i; its script comes from .script-i, or from standard input.
  const auto command = [&](std::size_t i, bool piped) {
    const std::string n = std::to_string(i);
    return "cd '" + work.string() + "' && XDG_STATE_HOME='" + (work / ".state").string() +
           "' XDG_CACHE_HOME='" + (work / ".cache").string() + "' TMPDIR='" +
           (work / ".tmp").string() + "' XDG_CONFIG_HOME='" + (work / ".config").string() +
           "' XDG_DATA_HOME='" + (work / ".data").string() + "' DICPATH='" +
           (work / "data" / "dictionaries").string() +
           "' LANG=C.UTF-8 LC_ALL= LC_MESSAGES= " + prefix + "'" + drive.string() + "'" +
           (scenario.splash ? " --splash" : "") + (piped ? "" : " .script-" + n) + " > .out-" + n +
           " 2> .err-" + n;
  };
  Run run{{}, "", 0};
  const auto collect = [&](std::size_t i, int status) {
    const std::string n = std::to_string(i);
    for (std::string& line : lines(readAll(work / (".out-" + n)))) {
      run.printed.push_back(std::move(line));
    }
    run.errors += readAll(work / (".err-" + n));
    if (exitCode(status) != 0) run.exitCode = exitCode(status);
  };
  for (std::size_t i = 0; i < scenario.runs.size(); ++i) {
    const Start& start = scenario.runs[i];
    if (i + 1 < scenario.runs.size() && scenario.runs[i + 1].beside) {
      // This run holds its place until the next one is over.
      FILE* running = popen(command(i, true).c_str(), "w");
      if (!running) throw std::runtime_error("cannot start the driver");
      std::fwrite(start.script.data(), 1, start.script.size(), running);
      std::fflush(running);
      awaitLines(work / (".out-" + std::to_string(i)), start.expectedLines);
      const Start& next = scenario.runs[i + 1];
      std::ofstream(work / (".script-" + std::to_string(i + 1)), std::ios::binary) << next.script;
      const int nextStatus = std::system(command(i + 1, false).c_str());
      collect(i, pclose(running));
      collect(i + 1, nextStatus);
      ++i;
      continue;
    }
    std::ofstream(work / (".script-" + std::to_string(i)), std::ios::binary) << start.script;
    collect(i, std::system(command(i, false).c_str()));
  }
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
