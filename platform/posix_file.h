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

  // Closes now, so that an error the file system reports only at close is not lost.
  void close();

 private:
  int fd_;
};

// Removes a file by its name when destroyed, unless kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  const std::string& path() const { return path_; }
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

// A file this process has just made, open, and removed again unless kept.
struct ExclusiveFile {
  FileDescriptor fd;
  TemporaryFile file;
};

// Makes a new file folder + prefix + six random letters (folder is empty or ends in '/'),
// never one that exists nor through a link, opened with flags and mode. Throws FileError
// with the system's reason when it cannot.
ExclusiveFile createExclusive(const std::string& folder, std::string_view prefix, int flags,
                              mode_t mode);

// open(), retried when a signal interrupts it; -1 and errno on failure.
int openRetrying(const char* path, int flags, mode_t mode = 0);

// Writes all of bytes at the descriptor's offset.
void writeAll(int fd, std::string_view bytes);

// The descriptor's whole content, read from its start whatever its offset.
std::string readAll(int fd);

FileIdentity identityOf(const struct stat& st);

// Makes the file's content durable and closes it; returns its status.
struct stat syncAndClose(ExclusiveFile& file);

// Renames file to target in folder and makes that durable; the file is kept from then on.
void renameInto(ExclusiveFile& file, const std::string& target, const std::string& folder);

// Makes folder and each missing folder above it with mode; an existing one is left as it is.
// Throws FileError with the system's reason when one cannot be made.
void makeFolders(const std::string& folder, mode_t mode);

// Makes a rename or a new name in folder (empty for the current one) durable. Failures are
// not reported: by then the file is already in place.
void syncFolder(const std::string& folder);

}  // namespace obrel::posix
