#pragma once
// A fresh folder on the real disk for tests of RealFileSystem. Backups of saves in place go
// beside it: XDG_CACHE_HOME and TMPDIR point to cache/ and tmp/ next to the folder while a test
// runs, so no test writes to the user's home or the shared temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace obrel {

class RealFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "obrel-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    folder_ = root_ / "files";
    std::filesystem::create_directory(folder_);
    std::filesystem::create_directory(root_ / "tmp");
    setVariable("XDG_CACHE_HOME", (root_ / "cache").string());
    setVariable("TMPDIR", (root_ / "tmp").string());
  }
  void TearDown() override {
    for (const auto& [name, value] : savedVariables_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
    std::filesystem::remove_all(root_);
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

  std::filesystem::path root_;
  std::filesystem::path folder_;
  RealFileSystem fs_;

 private:
  std::map<std::string, std::optional<std::string>> savedVariables_;
};

}  // namespace obrel
