#include "platform/posix_file.h"

#include <fcntl.h>
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
  if (!path_.empty()) ::unlink(path_.c_str());
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

int openRetrying(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Named by hand rather than by mkstemp, whose fixed 0600 would have to be widened for a new
// file by reading the umask, and reading it means setting it for the whole process.
ExclusiveFile createExclusive(const std::string& folder, std::string_view prefix, int flags,
                              mode_t mode) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = folder;
    path += prefix;
    for (int i = 0; i < 6; ++i) path.push_back(kLetters[pick(random)]);
    const int fd =
        openRetrying(path.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return {FileDescriptor(fd), TemporaryFile(std::move(path))};
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

void renameInto(ExclusiveFile& file, const std::string& target, const std::string& folder) {
  if (::rename(file.file.path().c_str(), target.c_str()) != 0) fail(errno);
  file.file.keep();
  syncFolder(folder);
}

void makeFolders(const std::string& folder, mode_t mode) {
  std::string made;
  for (const auto& part : std::filesystem::path(folder)) {
    made = made.empty() || made == "/" ? made + part.string() : made + '/' + part.string();
    if (made.empty() || made == "/") continue;
    if (::mkdir(made.c_str(), mode) != 0 && errno != EEXIST) fail(errno);
  }
}

void syncFolder(const std::string& folder) {
  const FileDescriptor fd(
      openRetrying(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace obrel::posix
