#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/failure.h"
#include "platform/file_attributes.h"
#include "platform/posix_file.h"

namespace obrel {
namespace {

using posix::fail;
using posix::FileDescriptor;
using posix::identityOf;
using posix::openRetrying;

// A symbolic link is written through: the file it names gets the new content and the
// link stays. A dangling link is replaced like a missing file.
std::string resolvedTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

}  // namespace

FileContent RealFileSystem::read(const std::string& path, std::size_t maxBytes) {
  // Opened without waiting, and only a regular file is read: a named pipe or a device
  // could hold the program for ever or never end.
  const FileDescriptor fd(openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) fail(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) fail(errno);
  if (S_ISDIR(st.st_mode)) fail(EISDIR);
  if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) fail(EFBIG);
  // Reading stops one byte past the limit, enough to tell that the file grew too large;
  // the spare byte also lets a file read in one go show its end on the next read.
  const std::size_t room = maxBytes == kNoLimit ? maxBytes : maxBytes + 1;
  FileContent content{std::string(std::min(static_cast<std::size_t>(st.st_size) + 1, room), '\0'),
                      identityOf(st)};
  std::string& bytes = content.bytes;
  std::size_t size = 0;
  for (;;) {
    if (size > maxBytes) fail(EFBIG);
    if (size == bytes.size()) bytes.resize(std::min(bytes.size() * 2, room));
    const ssize_t n = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  bytes.resize(size);
  return content;
}

std::optional<FileIdentity> RealFileSystem::identity(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return identityOf(st);
}

FileIdentity RealFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  const std::string target = resolvedTarget(path);

  struct stat st;
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) fail(errno);
  if (exists) {
    if (S_ISDIR(st.st_mode)) fail(EISDIR);
    if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");
    if (::access(target.c_str(), W_OK) != 0) fail(errno);
    if ((st.st_mode & 0222) == 0) fail(EACCES);
  }

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = target.substr(folder.size());
  if (name.empty()) fail(EISDIR);

  std::optional<FileDescriptor> old;
  if (exists) {
    old.emplace(openRetrying(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (old->get() < 0 || ::fstat(old->get(), &st) != 0) fail(errno);
  }
  // An existing file's replacement is readable by no one else until it has the file's mode.
  posix::ExclusiveFile temporary =
      posix::createExclusive(folder, "." + name + ".obrel-", O_WRONLY, exists ? 0600 : 0666);
  const FileDescriptor& fd = temporary.fd;
  posix::writeAll(fd.get(), bytes, failWritesAfter_);
  // Written before the attributes are given, as a write clears set-ID bits and capabilities.
  if (old && !giveAttributes(old->get(), st, fd.get())) fail(errno);
  if (::fsync(fd.get()) != 0) fail(errno);
  struct stat written;
  if (::fstat(fd.get(), &written) != 0) fail(errno);
  temporary.fd.close();
  if (::rename(temporary.file.path().c_str(), target.c_str()) != 0) fail(errno);
  temporary.file.keep();
  posix::syncFolder(folder);
  return identityOf(written);
}

void RealFileSystem::writeScratch(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  // Written over and then cut to its new length, not emptied first: ext4 flushes a file
  // emptied by O_TRUNC when it is closed, and the next emptying waits for that flush, which
  // made every Open wait for the disk.
  const FileDescriptor fd(openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
  if (fd.get() < 0) fail(errno);
  posix::writeAll(fd.get(), bytes, failWritesAfter_);
  struct stat st;
  if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
      ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) {
    fail(errno);
  }
}

void RealFileSystem::failWritesAfter(std::optional<std::size_t> bytes) { failWritesAfter_ = bytes; }

namespace {

FileIdentity memoryIdentity(const std::string& bytes) {
  return {0, 0, bytes.size(), static_cast<std::int64_t>(std::hash<std::string>{}(bytes))};
}

}  // namespace

FileContent MemoryFileSystem::read(const std::string& path, std::size_t maxBytes) {
  const auto it = files_.find(path);
  if (it == files_.end()) fail(ENOENT);
  if (it->second.size() > maxBytes) fail(EFBIG);
  return {it->second, memoryIdentity(it->second)};
}

std::optional<FileIdentity> MemoryFileSystem::identity(const std::string& path) {
  const auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return memoryIdentity(it->second);
}

FileIdentity MemoryFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  const std::optional<std::size_t> fault = std::exchange(failAfterBytes_, std::nullopt);
  if (fault && bytes.size() > *fault) fail(ENOSPC);
  files_[path] = bytes;
  return memoryIdentity(bytes);
}

void MemoryFileSystem::writeScratch(const std::string& path, const std::string& bytes) {
  replaceFile(path, bytes);
}

void MemoryFileSystem::failAfterBytes(std::size_t n) { failAfterBytes_ = n; }

}  // namespace obrel
