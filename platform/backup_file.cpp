#include "platform/backup_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace obrel {
namespace {

// The variable's value if it is an absolute path, without trailing slashes; else empty.
std::string absolutePathIn(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || value[0] != '/') return "";
  std::string path = value;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string homeFolder() {
  if (std::string home = absolutePathIn("HOME"); !home.empty()) return home;
  const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return "";
  }
  return found->pw_dir;
}

// The user's cache folder; empty when there is no telling where it is.
std::string cacheFolder() {
  if (std::string cache = absolutePathIn("XDG_CACHE_HOME"); !cache.empty()) return cache;
  const std::string home = homeFolder();
  return home.empty() ? "" : (home == "/" ? "" : home) + "/.cache";
}

// A folder in a place every user may write to is used only when it is this user's alone: a
// folder, not a link, owned by the user, mode 0700. Made when missing.
void requirePrivateFolder(const std::string& folder) {
  ::mkdir(folder.c_str(), 0700);  // one that exists is checked like a new one
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0) posix::fail(errno);
  if (!S_ISDIR(st.st_mode)) posix::fail(ENOTDIR);
  if (st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700) posix::fail(EACCES);
}

posix::ExclusiveFile writeIn(const std::string& folder, std::string_view content) {
  posix::ExclusiveFile backup = posix::createExclusive(folder + "/", "backup-", O_RDWR, 0600);
  posix::writeAll(backup.fd.get(), content);
  if (::fsync(backup.fd.get()) != 0) posix::fail(errno);
  posix::syncFolder(folder);
  return backup;
}

}  // namespace

posix::ExclusiveFile writeBackup(std::string_view content) {
  std::optional<FileError> firstFailure;
  if (const std::string cache = cacheFolder(); !cache.empty()) {
    const std::string folder = cache + "/obrel-dizivud";
    // Failures are left to creating the file, whose reason says what is wrong.
    ::mkdir(cache.c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    try {
      return writeIn(folder, content);
    } catch (const FileError& e) {
      firstFailure = posix::withFolder(e, folder);
    }
  }
  std::string temporary = absolutePathIn("TMPDIR");
  if (temporary.empty()) temporary = "/tmp";
  const std::string folder =
      (temporary == "/" ? "" : temporary) + "/obrel-dizivud-" + std::to_string(::geteuid());
  try {
    requirePrivateFolder(folder);
    return writeIn(folder, content);
  } catch (const FileError& e) {
    throw firstFailure ? *firstFailure : posix::withFolder(e, folder);
  }
}

}  // namespace obrel
