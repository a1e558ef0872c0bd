// The files a script prepares for the program, and their permissions.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tools/obrel-drive/arguments.h"
#include "tools/obrel-drive/driver.h"

namespace obrel::drive {

void Driver::writeFile(const Words& words) {
  const char* usage = "write takes \"PATH\" \"BYTES\"";
  need(words.size() == 3, usage);
  const std::string path = quoted(words, 1, usage);
  const std::string bytes = quoted(words, 2, usage);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file.flush()) error("cannot write " + quote(path));
}

void Driver::makeFolder(const Words& words) {
  const std::string path = onlyPath(words, "mkdir takes \"PATH\"");
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) error("cannot make " + quote(path));
}

void Driver::removePath(const Words& words) {
  const std::string path = onlyPath(words, "remove takes \"PATH\"");
  std::error_code ec;
  if (!std::filesystem::remove(path, ec)) error("cannot remove " + quote(path));
}

void Driver::makeReadOnly(const Words& words) {
  const std::string path = onlyPath(words, "readonly takes \"PATH\"");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 ||
      ::chmod(path.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
    error("cannot make " + quote(path) + " read-only");
  }
}

}  // namespace obrel::drive
