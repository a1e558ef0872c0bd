#pragma once
// The small pieces RealFileSystem's reads, saves and backups share: owned descriptors, files
// removed unless kept, and writes that report the system's reason as FileError.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/file_system.h"

namespace obrel::posix {

// Throws FileError with the system's reason text for error.
[[noreturn]] void fail(int error);

// The failure e, saying it happened in folder: "REASON (folder FOLDER)".
FileError withFolder(const FileError& e, const std::string& folder);

// Owns an open file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor& operator=(FileDescriptor&&) = delete;

  int get() const { return fd_; }
  // Hands the descriptor over to the caller.
  int release() { return std::exchange(fd_, -1); }

  // Closes now, so that an error the file system reports only at close is not lost.
  void close();

 private:
  int fd_;
};

// Removes a file by its name in a folder (a descriptor that must outlive it, or AT_FDCWD)
// when destroyed, unless kept.
class TemporaryFile {
 public:
  TemporaryFile(int folder, std::string name) : folder_(folder), name_(std::move(name)) {}
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  int folder() const { return folder_; }
  const std::string& name() const { return name_; }
  void keep() { name_.clear(); }

 private:
  int folder_;
  std::string name_;
};

// A file this process has just made, open, and removed again unless kept.
struct ExclusiveFile {
  FileDescriptor fd;
  TemporaryFile file;
};

// Makes a new file prefix + six random letters in the folder open as folder, never one that
// exists nor through a link, opened with flags and mode. Throws FileError with the system's
// reason when it cannot.
ExclusiveFile createExclusive(int folder, std::string_view prefix, int flags, mode_t mode);

// open() / openat(), retried when a signal interrupts it; -1 and errno on failure.
int openRetrying(const char* path, int flags, mode_t mode = 0);
int openRetrying(int folder, const char* name, int flags, mode_t mode = 0);

// The folder at path (empty: the current one) opened to work in, a link followed; throws
// FileError.
FileDescriptor openFolder(const std::string& path);

// The folder part of path (up to its last slash; empty when it has none) and its name.
std::pair<std::string, std::string> splitPath(const std::string& path);

// Takes an exclusive flock on fd without waiting; false when another holds one.
bool lockExclusive(int fd);

// The names in the folder open as folder, "." and ".." left out; empty when it cannot be read.
std::vector<std::string> namesIn(int folder);

// Reads at most maxBytes + 1 bytes of fd from its start, enough to tell a larger file.
std::string readSome(int fd, std::size_t maxBytes);

// Writes all of bytes at the descriptor's offset.
void writeAll(int fd, std::string_view bytes);

// The descriptor's whole content, read from its start whatever its offset.
std::string readAll(int fd);

FileIdentity identityOf(const struct stat& st);

// Makes the file's content durable and closes it; returns its status.
struct stat syncAndClose(ExclusiveFile& file);

// Renames file to name in its own folder and makes that durable; the file is kept from then on.
void renameInto(ExclusiveFile& file, const std::string& name);

// Makes a rename or a new name in the folder open as folder durable. Failures are not
// reported: by then the file is already in place.
void syncFolder(int folder);

// Makes folder and each missing folder above it with mode; an existing one is left as it is.
// Throws FileError with the system's reason when one cannot be made.
void makeFolders(const std::string& folder, mode_t mode);

}  // namespace obrel::posix
