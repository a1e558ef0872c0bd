#include "platform/recovery_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <utility>

#include "platform/backup_file.h"
#include "platform/failure.h"
#include "platform/home_folder.h"
#include "platform/posix_file.h"

namespace obrel {

namespace {

constexpr const char* kLock = ".lock";
constexpr const char* kCopy = ".copy";
constexpr const char* kBroken = ".copy.broken";
constexpr const char* kTemporary = ".tmp.";
constexpr std::time_t kKeptSeconds = 30 * 24 * 60 * 60;

// This program's id: its process number and the time it started, unique on this machine.
std::string newId() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return std::to_string(::getpid()) + '-' + std::to_string(now.tv_sec) + '-' +
         std::to_string(now.tv_nsec);
}

bool olderThanKept(const struct stat& st) {
  return std::time(nullptr) - st.st_mtime > kKeptSeconds;
}

// The id a file of the folder belongs to: its name up to the first dot.
std::string idOf(const std::string& name) { return name.substr(0, name.find('.')); }

// The level name of the folder open as parent, made (0700) when missing if make is set,
// opened without following a link and checked: the user's, and writable by no one else.
posix::FileDescriptor openOwnLevel(int parent, const std::string& name, bool make) {
  if (make) ::mkdirat(parent, name.c_str(), 0700);
  posix::FileDescriptor fd(
      posix::openRetrying(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) posix::fail(errno == ELOOP ? ENOTDIR : errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) posix::fail(errno);
  if (st.st_uid != ::geteuid()) throw FileError("Owned by another user");
  if ((st.st_mode & 077) != 0 && ::fchmod(fd.get(), 0700) != 0) posix::fail(errno);
  return fd;
}

}  // namespace

std::string recoveryFolderPath(const char* stateHome, const char* home) {
  std::string base;
  if (stateHome && stateHome[0] == '/') {
    base = stateHome;
  } else {
    const std::string folder = home && home[0] == '/' ? std::string(home) : homeInUserDatabase();
    // Without any home folder the path stays relative, which is never used.
    base = (folder == "/" ? "" : folder) + (folder.empty() ? ".local/state" : "/.local/state");
  }
  return base + "/obrel-dizivud/recovery";
}

RecoveryFolder::RecoveryFolder(std::string folder, std::size_t largestCopy)
    : folder_(std::move(folder)), largestCopy_(largestCopy), id_(newId()) {}

RecoveryFolder::~RecoveryFolder() {
  for (const auto& [id, fd] : taken_) ::close(fd);
  for (int fd : {lock_, own_, scan_}) {
    if (fd >= 0) ::close(fd);
  }
}

int RecoveryFolder::openFolder(bool make) {
  if (!folder_.starts_with('/')) throw FileError("No home folder is known");
  const std::filesystem::path path(folder_);
  const std::filesystem::path base = path.parent_path().parent_path();
  // The levels above the program's own are made private too, as the state folder should be.
  if (make) posix::makeFolders(base.string(), 0700);
  const posix::FileDescriptor top = posix::openFolder(base.string());
  const posix::FileDescriptor middle = openOwnLevel(top.get(), path.parent_path().filename(), make);
  return openOwnLevel(middle.get(), path.filename(), make).release();
}

void RecoveryFolder::write(const std::string& text) {
  if (text.size() > largestCopy_) posix::fail(EFBIG);
  if (lock_ < 0) {
    const posix::FileDescriptor folder(openFolder(true));
    const int fd =
        posix::openRetrying(folder.get(), (id_ + kLock).c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) posix::fail(errno);
    if (!posix::lockExclusive(fd)) {
      const int error = errno;
      ::close(fd);
      posix::fail(error);
    }
    lock_ = fd;
    own_ = ::dup(folder.get());
    if (own_ < 0) {
      const int error = errno;
      ::close(std::exchange(lock_, -1));
      posix::fail(error);
    }
  }
  posix::ExclusiveFile temporary = posix::createExclusive(own_, id_ + kTemporary, O_WRONLY, 0600);
  posix::writeAll(temporary.fd.get(), text);
  posix::syncAndClose(temporary);
  posix::renameInto(temporary, id_ + kCopy);
}

void RecoveryFolder::remove() {
  if (lock_ < 0) return;
  ::unlinkat(own_, (id_ + kCopy).c_str(), 0);
  ::unlinkat(own_, (id_ + kLock).c_str(), 0);
  ::close(lock_);
  ::close(own_);
  lock_ = -1;
  own_ = -1;
}

int RecoveryFolder::lockOf(const std::string& id) {
  const std::string name = id + kLock;
  const int fd = posix::openRetrying(scan_, name.c_str(),
                                     O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat held;
  struct stat named;
  // Its owner may have removed the lock file between our open and our lock: then this lock
  // guards nothing any more.
  if (!posix::lockExclusive(fd) || ::fstat(fd, &held) != 0 ||
      ::fstatat(scan_, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
      held.st_dev != named.st_dev || held.st_ino != named.st_ino || held.st_nlink == 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool RecoveryFolder::take(const std::string& id) {
  if (scan_ < 0 || id.empty() || id == id_) return false;
  if (taken_.count(id)) return true;
  const int fd = lockOf(id);
  if (fd < 0) return false;
  taken_[id] = fd;
  return true;
}

std::optional<std::string> RecoveryFolder::readOwn(const std::string& name, std::size_t maxBytes) {
  // Without waiting: a pipe put in a copy's place must not hold the start.
  const posix::FileDescriptor fd(
      posix::openRetrying(scan_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat st;
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      st.st_uid != ::geteuid()) {
    return std::nullopt;
  }
  try {
    std::string bytes = posix::readSome(fd.get(), maxBytes);
    if (bytes.size() > maxBytes) bytes.resize(maxBytes);
    return bytes;
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::optional<std::string> RecoveryFolder::read(const std::string& id) {
  if (!taken_.count(id)) return std::nullopt;
  // One byte more than the limit tells a copy that is too large.
  std::optional<std::string> text = readOwn(id + kCopy, largestCopy_ + 1);
  if (text && text->size() > largestCopy_) return std::nullopt;
  return text;
}

void RecoveryFolder::recoverTemporaries(const std::string& id,
                                        const std::vector<std::string>& temporaries,
                                        const std::function<bool(std::string_view)>& whole) {
  bool replaced = false;
  for (const std::string& name : temporaries) {
    if (!replaced) {
      const std::optional<std::string> text = readOwn(name, largestCopy_ + 1);
      if (text && text->size() <= largestCopy_ && whole(*text) &&
          ::renameat(scan_, name.c_str(), scan_, (id + kCopy).c_str()) == 0) {
        replaced = true;
        continue;
      }
    }
    ::unlinkat(scan_, name.c_str(), 0);
  }
  if (replaced) posix::syncFolder(scan_);
}

std::vector<RecoveryFolder::Found> RecoveryFolder::abandonedCopies(
    std::size_t headBytes, const std::function<bool(std::string_view)>& whole) {
  std::vector<Found> found;
  if (scan_ < 0) {
    try {
      scan_ = openFolder(false);
    } catch (const FileError&) {
      return found;
    }
  }
  struct Files {
    bool copy = false;
    bool lock = false;
    std::vector<std::string> temporaries;
  };
  std::map<std::string, Files> ids;
  for (const std::string& name : posix::namesIn(scan_)) {
    if (name.size() > std::string(kBroken).size() && name.ends_with(kBroken)) {
      struct stat st;
      if (::fstatat(scan_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && olderThanKept(st)) {
        ::unlinkat(scan_, name.c_str(), 0);
      }
      continue;
    }
    const std::string id = idOf(name);
    if (id.empty() || id == id_) continue;
    if (name == id + kCopy) ids[id].copy = true;
    if (name == id + kLock) ids[id].lock = true;
    if (name.starts_with(id + kTemporary)) ids[id].temporaries.push_back(name);
  }
  for (auto& [id, files] : ids) {
    if (taken_.count(id)) continue;
    if (!files.temporaries.empty()) {
      if (!take(id)) continue;  // its program is still writing
      recoverTemporaries(id, files.temporaries, whole);
      struct stat st;
      files.copy = files.copy ||
                   ::fstatat(scan_, (id + kCopy).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    }
    if (!files.copy) {
      if (take(id)) discard(id);
      continue;
    }
    // Opened without waiting and never through a link; only the user's own files are read.
    const posix::FileDescriptor copy(posix::openRetrying(
        scan_, (id + kCopy).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    const bool own = copy.get() >= 0 && ::fstat(copy.get(), &st) == 0 && S_ISREG(st.st_mode) &&
                     st.st_uid == ::geteuid();
    if (!own) {
      if (take(id)) markBroken(id);
      continue;
    }
    if (olderThanKept(st)) {
      if (take(id)) discard(id);
      continue;
    }
    std::string head(headBytes, '\0');
    const ssize_t n = ::pread(copy.get(), head.data(), head.size(), 0);
    head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    found.push_back({id, std::move(head)});
  }
  return found;
}

void RecoveryFolder::letGo(const std::string& id) {
  const auto it = taken_.find(id);
  if (it == taken_.end()) return;
  ::unlinkat(scan_, (id + kLock).c_str(), 0);
  ::close(it->second);
  taken_.erase(it);
}

void RecoveryFolder::discard(const std::string& id) {
  if (!taken_.count(id)) return;
  ::unlinkat(scan_, (id + kCopy).c_str(), 0);
  letGo(id);
}

void RecoveryFolder::markBroken(const std::string& id) {
  if (!taken_.count(id)) return;
  ::renameat(scan_, (id + kCopy).c_str(), scan_, (id + kBroken).c_str());
  letGo(id);
}

void RecoveryFolder::release(const std::string& id) {
  const auto it = taken_.find(id);
  if (it == taken_.end()) return;
  ::close(it->second);
  taken_.erase(it);
}

}  // namespace obrel
