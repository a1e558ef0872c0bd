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
#include <string_view>
#include <utility>

#include "platform/failure.h"
#include "platform/file_attributes.h"
#include "platform/in_place_save.h"
#include "platform/posix_file.h"

namespace obrel {
namespace {

using posix::fail;
using posix::FileDescriptor;
using posix::identityOf;
using posix::openRetrying;

// Short and of fixed length; made relative to the folder, so any name leaves room for it.
constexpr std::string_view kTemporaryPrefix = ".obrel-";

// A symbolic link is written through: the file it names gets the new content and the
// link stays. A dangling link is replaced like a missing file.
std::string resolvedTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
  return real ? std::string(real.get()) : path;
}

// The folder part of path as the user gave it, for messages: "." when there is none.
std::string shownFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  const std::size_t end = path.find_last_not_of('/', slash);
  return end == std::string::npos ? "/" : path.substr(0, end + 1);
}

// A new file is written beside its name and renamed to it, so it appears whole or not at all.
FileIdentity createFile(const std::string& folder, const std::string& name,
                        const std::string& shown, const std::string& bytes) {
  std::optional<FileDescriptor> at;
  std::optional<posix::ExclusiveFile> temporary;
  try {
    at.emplace(posix::openFolder(folder));
    temporary.emplace(posix::createExclusive(at->get(), kTemporaryPrefix, O_WRONLY, 0666));
  } catch (const FileError& e) {
    throw posix::withFolder(e, shown);
  }
  posix::writeAll(temporary->fd.get(), bytes);
  const struct stat written = posix::syncAndClose(*temporary);
  posix::renameInto(*temporary, name);
  return identityOf(written);
}

// Replaces an existing file by a new one given its owner, group, attributes and mode. Returns
// std::nullopt, the file untouched, when the new one could not be all the old one was: the
// file has other names, or the folder or the system refuses one step. Write failures throw.
std::optional<FileIdentity> replaceKeepingIdentity(const std::string& folder,
                                                   const std::string& name,
                                                   const std::string& bytes) {
  std::optional<FileDescriptor> folderFd;
  try {
    folderFd.emplace(posix::openFolder(folder));
  } catch (const FileError&) {
    return std::nullopt;
  }
  const FileDescriptor& at = *folderFd;
  const FileDescriptor old(
      openRetrying(at.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat st;
  if (old.get() < 0 || ::fstat(old.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1) {
    return std::nullopt;
  }
  // Readable by no one else until it has the old file's mode.
  std::optional<posix::ExclusiveFile> temporary;
  try {
    temporary.emplace(posix::createExclusive(at.get(), kTemporaryPrefix, O_WRONLY, 0600));
  } catch (const FileError&) {
    return std::nullopt;
  }
  // Written before the attributes are given, as a write clears set-ID bits and capabilities.
  posix::writeAll(temporary->fd.get(), bytes);
  if (!giveAttributes(old.get(), st, temporary->fd.get())) return std::nullopt;
  const struct stat written = posix::syncAndClose(*temporary);
  if (::renameat(at.get(), temporary->file.name().c_str(), at.get(), name.c_str()) != 0) {
    return std::nullopt;
  }
  temporary->file.keep();
  posix::syncFolder(at.get());
  return identityOf(written);
}

}  // namespace

RealFileSystem::RealFileSystem() : kept_(std::make_unique<KeptBackups>()) {}

RealFileSystem::~RealFileSystem() = default;

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
  // A folder that is missing, no folder or not to be searched is reported, with its name,
  // when the new file cannot be made in it.
  if (!exists && errno != ENOENT && errno != ENOTDIR && errno != EACCES) fail(errno);
  if (exists) {
    if (S_ISDIR(st.st_mode)) fail(EISDIR);
    if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");
    if (::access(target.c_str(), W_OK) != 0) fail(errno);
    if ((st.st_mode & 0222) == 0) fail(EACCES);
  }

  // Plain names rather than a structured binding: the fuzz build's compiler cannot capture
  // one in the lambda below.
  const auto split = posix::splitPath(target);
  const auto& folder = split.first;
  const auto& name = split.second;
  if (name.empty()) fail(EISDIR);

  const FileIdentity written = [&] {
    if (!exists) return createFile(folder, name, shownFolder(path), bytes);
    if (auto replaced = replaceKeepingIdentity(folder, name, bytes)) return *replaced;
    return saveInPlace(target, bytes, *kept_, afterCut);
  }();
  kept_->saved(absolutePath(target));
  return written;
}

void RealFileSystem::writeScratch(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  // Only a plain file of its own is written: a link there (even a dangling one, which
  // O_NOFOLLOW refuses without creating anything) would send every Open's text elsewhere, a
  // named pipe would hold every Open, and a second name would change another file.
  const FileDescriptor fd(
      openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  if (fd.get() < 0) fail(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) fail(errno);
  if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");
  if (st.st_nlink != 1) fail(EMLINK);
  // Written over and then cut to its new length, not emptied first: ext4 flushes a file
  // emptied by O_TRUNC when it is closed, and the next emptying waits for that flush, which
  // made every Open wait for the disk.
  posix::writeAll(fd.get(), bytes);
  if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) fail(errno);
}

void RealFileSystem::replacePrivateFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  const std::string target = resolvedTarget(path);
  const std::size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = target.substr(folder.size());
  if (name.empty()) fail(EISDIR);
  if (!folder.empty()) posix::makeFolders(folder, 0700);
  const FileDescriptor at = posix::openFolder(folder);
  posix::ExclusiveFile temporary = posix::createExclusive(at.get(), kTemporaryPrefix, O_WRONLY, 0600);
  posix::writeAll(temporary.fd.get(), bytes);
  posix::syncAndClose(temporary);
  posix::renameInto(temporary, name);
}

}  // namespace obrel
