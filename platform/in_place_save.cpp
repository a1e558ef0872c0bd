#include "platform/in_place_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>
#include <utility>

#include "platform/backup_file.h"
#include "platform/failure.h"
#include "platform/posix_file.h"

namespace obrel {
namespace {

// Cuts the file, writes bytes from its start and syncs it.
void rewrite(int fd, std::string_view bytes, const std::function<void()>& afterCut) {
  if (::ftruncate(fd, 0) != 0) posix::fail(errno);
  if (afterCut) afterCut();
  if (::lseek(fd, 0, SEEK_SET) != 0) posix::fail(errno);
  posix::writeAll(fd, bytes);
  if (::fsync(fd) != 0) posix::fail(errno);
}

}  // namespace

KeptBackups::~KeptBackups() {
  for (auto& [file, backup] : byFile_) backup.keep();
}

void KeptBackups::keep(const std::string& file, Backup backup) {
  byFile_.emplace(file, std::move(backup));
}

std::string absolutePath(const std::string& path) {
  if (path.starts_with('/')) return path;
  char here[PATH_MAX];
  if (::getcwd(here, sizeof here) == nullptr) return path;
  const std::string folder = here;
  return (folder == "/" ? "" : folder) + '/' + path;
}

FileIdentity saveInPlace(const std::string& target, const std::string& bytes, KeptBackups& kept,
                         const std::function<void()>& afterCut) {
  // Not followed if a link has taken the resolved target's place, and never waiting on a pipe.
  const posix::FileDescriptor file(
      posix::openRetrying(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) posix::fail(errno);
  struct stat st;
  if (::fstat(file.get(), &st) != 0) posix::fail(errno);
  if (!S_ISREG(st.st_mode)) throw FileError("Not a regular file");

  const std::string absolute = absolutePath(target);
  Backup backup = writeBackup(posix::readAll(file.get()),
                              SaveFacts{absolute, bytes.size(), contentHash(bytes)});
  try {
    rewrite(file.get(), bytes, afterCut);
  } catch (const FileError& failure) {
    // Read back from the backup's own descriptor: its name could have been replaced.
    try {
      rewrite(file.get(), posix::readAll(backup.file.fd.get()), {});
    } catch (const FileError&) {
      const std::string path = backup.path;
      kept.keep(absolute, std::move(backup));
      throw FileError("The content from before the save is kept in " + path + "\r\n" +
                      failure.what());
    }
    throw;
  }
  if (::fstat(file.get(), &st) != 0) posix::fail(errno);
  return posix::identityOf(st);
}

}  // namespace obrel
