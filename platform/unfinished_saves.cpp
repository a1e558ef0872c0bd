#include "platform/unfinished_saves.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "platform/backup_file.h"
#include "platform/failure.h"
#include "platform/in_place_save.h"

namespace obrel {
namespace {

constexpr std::string_view kAboutSuffix = ".about";
// A companion holds a path and three short lines.
constexpr std::size_t kLargestAbout = 16 * 1024;

// The regular file name in folder, owned by the user and written by no one else, opened
// without waiting; -1 for anything else.
int openOwnFile(int folder, const std::string& name) {
  const int fd =
      posix::openRetrying(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !ownedByUserAlone(st))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void removeBackup(int folder, const std::string& name) {
  ::unlinkat(folder, (name + std::string(kAboutSuffix)).c_str(), 0);
  ::unlinkat(folder, name.c_str(), 0);
}

// Whether the file holds facts' content or the backup's; false when it cannot be read.
bool fileIsWhole(const SaveFacts& facts, int backup) {
  struct stat st;
  if (::fstat(backup, &st) != 0) return false;
  const std::size_t backupSize = static_cast<std::size_t>(st.st_size);
  try {
    const std::string now =
        RealFileSystem().readFile(facts.file, std::max<std::size_t>(facts.size, backupSize));
    if (now.size() == facts.size && contentHash(now) == facts.hash) return true;
    return now.size() == backupSize && now == posix::readAll(backup);
  } catch (const FileError&) {
    return false;
  }
}

}  // namespace

std::vector<UnfinishedSave> findUnfinishedSaves() {
  std::vector<UnfinishedSave> found;
  for (const std::string& folderPath : backupFolders()) {
    posix::FileDescriptor folder(
        posix::openRetrying(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (folder.get() < 0 || ::fstat(folder.get(), &st) != 0 || !ownedByUserAlone(st)) continue;
    std::vector<std::string> names = posix::namesIn(folder.get());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (!name.starts_with("backup-") || name.find('.') != std::string::npos) continue;
      posix::FileDescriptor backup(openOwnFile(folder.get(), name));
      struct stat held;
      struct stat named;
      // Its owner may still be saving, or have removed it since it was listed.
      if (backup.get() < 0 || !posix::lockExclusive(backup.get()) ||
          ::fstat(backup.get(), &held) != 0 ||
          ::fstatat(folder.get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
          held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        continue;
      }
      // A backup without a companion may be one an earlier version kept and named to the
      // user: it stays.
      const posix::FileDescriptor about(
          openOwnFile(folder.get(), name + std::string(kAboutSuffix)));
      if (about.get() < 0) continue;
      std::optional<SaveFacts> facts;
      try {
        facts = readAbout(posix::readSome(about.get(), kLargestAbout));
      } catch (const FileError&) {
      }
      // A companion left unfinished: the file was never cut.
      if (!facts || fileIsWhole(*facts, backup.get())) {
        removeBackup(folder.get(), name);
        continue;
      }
      found.push_back({facts->file, folderPath + '/' + name,
                       posix::FileDescriptor(::dup(folder.get())), std::move(backup), name});
    }
  }
  return found;
}

FileIdentity putBack(UnfinishedSave& save) {
  const std::string content = posix::readAll(save.locked.get());
  FileIdentity written;
  struct stat st;
  if (::stat(save.file.c_str(), &st) == 0) {
    KeptBackups kept;
    written = saveInPlace(save.file, content, kept);
  } else {
    written = RealFileSystem().replaceFile(save.file, content);
  }
  discard(save);
  return written;
}

void discard(UnfinishedSave& save) { removeBackup(save.folder.get(), save.name); }

}  // namespace obrel
