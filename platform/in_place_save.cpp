#include "platform/in_place_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/backup_file.h"
#include "platform/failure.h"
#include "platform/posix_file.h"

namespace obrel {
namespace {

// Cuts the file, writes bytes from its start and syncs it.
void rewrite(int fd, std::string_view bytes) {
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) posix::fail(errno);
  posix::writeAll(fd, bytes);
  if (::fsync(fd) != 0) posix::fail(errno);
}

}  // namespace

FileIdentity saveInPlace(const std::string& target, const std::string& bytes) {
  // Not followed if a link has taken the resolved target's place, and never waiting on a pipe.
  const posix::FileDescriptor file(
      posix::openRetrying(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) posix::fail(errno);
  struct stat st;
  if (::fstat(file.get(), &st) != 0) posix::fail(errno);
  if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");

  posix::ExclusiveFile backup = writeBackup(posix::readAll(file.get()));
  try {
    rewrite(file.get(), bytes);
  } catch (const FileError& failure) {
    // Read back from the backup's own descriptor: its name could have been replaced.
    try {
      rewrite(file.get(), posix::readAll(backup.fd.get()));
    } catch (const FileError&) {
      const std::string kept = backup.file.path();
      backup.file.keep();
      throw FileError(kept + "\r\n" + failure.what());
    }
    throw;
  }
  if (::fstat(file.get(), &st) != 0) posix::fail(errno);
  return posix::identityOf(st);
}

}  // namespace obrel
