#pragma once
// A fresh folder on the real disk for tests of RealFileSystem. Backups of saves in place go
// beside it: XDG_CACHE_HOME and TMPDIR point to cache/ and tmp/ next to the folder while a test
// runs, so no test writes to the user's home or the shared temporary folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "testing/temp_folder.h"

namespace obrel {

// While it lives, the kernel refuses to write any file past `bytes` ("File too large"), as a
// full disk refuses: a real fault at any byte, with no hook in the code under test. With
// thenNothing, once a write has been refused no write may add a byte at all, so that putting
// old content back fails as well.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes, bool thenNothing = false) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    struct sigaction onRefusal {};
    onRefusal.sa_handler = thenNothing ? &refuseEverything : SIG_IGN;
    ::sigaction(SIGXFSZ, &onRefusal, &previous_);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::sigaction(SIGXFSZ, &previous_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  // The kernel signals the refused write to the thread that made it, before the write returns.
  static void refuseEverything(int) {
    rlimit none{};
    ::getrlimit(RLIMIT_FSIZE, &none);
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }

  rlimit saved_{};
  struct sigaction previous_ {};
};

class RealFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = root_ / "files";
    std::filesystem::create_directory(folder_);
    std::filesystem::create_directory(root_ / "tmp");
    setVariable("XDG_CACHE_HOME", (root_ / "cache").string());
    setVariable("TMPDIR", (root_ / "tmp").string());
  }
  void TearDown() override {
    for (const auto& [name, value] : savedVariables_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }

  // Sets an environment variable until the test ends.
  void setVariable(const std::string& name, const std::string& value) {
    if (!savedVariables_.contains(name)) {
      const char* old = std::getenv(name.c_str());
      savedVariables_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    ::setenv(name.c_str(), value.c_str(), 1);
  }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }

  static std::vector<std::string> entriesOf(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> entries() const { return entriesOf(folder_); }
  // The backups in the cache folder.
  std::vector<std::string> backups() const { return entriesOf(root_ / "cache" / "obrel-dizivud"); }

  mode_t modeOf(const std::string& name) const {
    struct stat st {};
    ::stat(path(name).c_str(), &st);
    return st.st_mode & 07777;
  }

  fake::TempFolder temp_{"obrel-files"};
  const std::filesystem::path& root_ = temp_.path();
  std::filesystem::path folder_;
  RealFileSystem fs_;

 private:
  std::map<std::string, std::optional<std::string>> savedVariables_;
};

}  // namespace obrel
