#include "platform/posix_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/failure.h"

namespace obrel::posix {

void fail(int error) { throw FileError(std::generic_category().message(error)); }

FileError withFolder(const FileError& e, const std::string& folder) {
  return FileError(std::string(e.what()) + " (folder " + folder + ")");
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

void FileDescriptor::close() {
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) fail(errno);
}

TemporaryFile::~TemporaryFile() {
  if (!name_.empty()) ::unlinkat(folder_, name_.c_str(), 0);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : folder_(other.folder_), name_(std::move(other.name_)) {
  other.name_.clear();
}

int openRetrying(const char* path, int flags, mode_t mode) {
  return openRetrying(AT_FDCWD, path, flags, mode);
}

int openRetrying(int folder, const char* name, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::openat(folder, name, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

FileDescriptor openFolder(const std::string& path) {
  const char* name = path.empty() ? "." : path.c_str();
  int fd = openRetrying(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be written and searched but not read is still worked in; only its
  // sync is then lost.
  if (fd < 0 && errno == EACCES) fd = openRetrying(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail(errno);
  return FileDescriptor(fd);
}

std::pair<std::string, std::string> splitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool lockExclusive(int fd) {
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

std::vector<std::string> namesIn(int folder) {
  std::vector<std::string> names;
  const int copy = ::dup(folder);
  if (copy < 0) return names;
  DIR* dir = ::fdopendir(copy);
  if (dir == nullptr) {
    ::close(copy);
    return names;
  }
  // The copy shares its position with folder, which an earlier listing left at the end.
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string readSome(int fd, std::size_t maxBytes) {
  std::string bytes;
  char buffer[65536];
  while (bytes.size() <= maxBytes) {
    const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
    const ssize_t n = ::pread(fd, buffer, want, static_cast<off_t>(bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

// Named by hand rather than by mkstemp, whose fixed 0600 would have to be widened for a new
// file by reading the umask, and reading it means setting it for the whole process.
ExclusiveFile createExclusive(int folder, std::string_view prefix, int flags, mode_t mode) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(prefix);
    for (int i = 0; i < 6; ++i) name.push_back(kLetters[pick(random)]);
    const int fd =
        openRetrying(folder, name.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return {FileDescriptor(fd), TemporaryFile(folder, std::move(name))};
    if (errno != EEXIST) fail(errno);
  }
  fail(EEXIST);
}

void writeAll(int fd, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) fail(EIO);  // a regular file that takes nothing would loop for ever
    written += static_cast<std::size_t>(n);
  }
}

std::string readAll(int fd) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

FileIdentity identityOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct stat syncAndClose(ExclusiveFile& file) {
  if (::fsync(file.fd.get()) != 0) fail(errno);
  struct stat written;
  if (::fstat(file.fd.get(), &written) != 0) fail(errno);
  file.fd.close();
  return written;
}

void renameInto(ExclusiveFile& file, const std::string& name) {
  const int folder = file.file.folder();
  if (::renameat(folder, file.file.name().c_str(), folder, name.c_str()) != 0) fail(errno);
  file.file.keep();
  syncFolder(folder);
}

void syncFolder(int folder) { ::fsync(folder); }

void makeFolders(const std::string& folder, mode_t mode) {
  std::string made;
  for (const auto& part : std::filesystem::path(folder)) {
    made = made.empty() || made == "/" ? made + part.string() : made + '/' + part.string();
    if (made.empty() || made == "/") continue;
    if (::mkdir(made.c_str(), mode) != 0 && errno != EEXIST) fail(errno);
  }
}

}  // namespace obrel::posix
