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

#include "platform/failure.h"
#include "platform/posix_file.h"

namespace obrel {

namespace {

constexpr const char* kLock = ".lock";
constexpr const char* kCopy = ".copy";
constexpr const char* kBroken = ".copy.broken";
constexpr std::time_t kKeptSeconds = 30 * 24 * 60 * 60;

// This program's id: its process number and the time it started, unique on this machine.
std::string newId() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return std::to_string(::getpid()) + '-' + std::to_string(now.tv_sec) + '-' +
         std::to_string(now.tv_nsec);
}

bool olderThanKept(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  return std::time(nullptr) - st.st_mtime > kKeptSeconds;
}

bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The id a file of the folder belongs to: its name up to the first dot.
std::string idOf(const std::string& name) { return name.substr(0, name.find('.')); }

}  // namespace

std::string recoveryFolderPath(const char* stateHome, const char* home) {
  std::string base;
  if (stateHome && stateHome[0] == '/') {
    base = stateHome;
  } else {
    base = std::string(home ? home : "") + "/.local/state";
  }
  return base + "/obrel-dizivud/recovery";
}

RecoveryFolder::RecoveryFolder(std::string folder) : folder_(std::move(folder)), id_(newId()) {}

RecoveryFolder::~RecoveryFolder() {
  for (const auto& [id, fd] : taken_) ::close(fd);
  if (lock_ >= 0) ::close(lock_);
}

std::string RecoveryFolder::path(const std::string& id, const char* suffix) const {
  return folder_ + '/' + id + suffix;
}

void RecoveryFolder::makeFolder() {
  // Each missing level is made private, as the state folder should be.
  posix::makeFolders(folder_, 0700);
}

void RecoveryFolder::write(const std::string& text) {
  if (lock_ < 0) {
    makeFolder();
    const int fd = posix::openRetrying(path(id_, kLock).c_str(),
                                       O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) posix::fail(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      posix::fail(error);
    }
    lock_ = fd;
  }
  posix::ExclusiveFile temporary =
      posix::createExclusive(folder_ + '/', id_ + ".tmp.", O_WRONLY, 0600);
  posix::writeAll(temporary.fd.get(), text);
  posix::syncAndClose(temporary);
  posix::renameInto(temporary, path(id_, kCopy), folder_);
}

void RecoveryFolder::remove() {
  if (lock_ < 0) return;
  ::unlink(path(id_, kCopy).c_str());
  ::unlink(path(id_, kLock).c_str());
  ::close(lock_);
  lock_ = -1;
}

int RecoveryFolder::lockOf(const std::string& id) {
  const std::string lockPath = path(id, kLock);
  const int fd =
      posix::openRetrying(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat held;
  struct stat named;
  // Its owner may have removed the lock file between our open and our lock: then this lock
  // guards nothing any more.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
      ::stat(lockPath.c_str(), &named) != 0 || held.st_dev != named.st_dev ||
      held.st_ino != named.st_ino || held.st_nlink == 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::vector<RecoveryFolder::Abandoned> RecoveryFolder::takeAbandoned() {
  std::vector<Abandoned> found;
  std::set<std::string> ids;
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = item.path().filename().string();
    if (name.size() > std::string(kBroken).size() && name.ends_with(kBroken)) {
      if (olderThanKept(item.path().string())) ::unlink(item.path().c_str());
      continue;
    }
    if (name.ends_with(kLock) || name.ends_with(kCopy)) ids.insert(idOf(name));
  }
  for (const std::string& id : ids) {
    if (id.empty() || id == id_ || taken_.count(id)) continue;
    const int fd = lockOf(id);
    if (fd < 0) continue;
    taken_[id] = fd;
    const std::string copyPath = path(id, kCopy);
    if (!exists(copyPath) || olderThanKept(copyPath)) {
      discard(id);
      continue;
    }
    const posix::FileDescriptor copy(
        posix::openRetrying(copyPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    try {
      if (copy.get() < 0) posix::fail(errno);
      found.push_back({id, posix::readAll(copy.get())});
    } catch (const FileError&) {
      markBroken(id);
    }
  }
  return found;
}

void RecoveryFolder::letGo(const std::string& id) {
  const auto it = taken_.find(id);
  if (it == taken_.end()) return;
  ::unlink(path(id, kLock).c_str());
  ::close(it->second);
  taken_.erase(it);
}

void RecoveryFolder::discard(const std::string& id) {
  if (!taken_.count(id)) return;
  ::unlink(path(id, kCopy).c_str());
  letGo(id);
}

void RecoveryFolder::markBroken(const std::string& id) {
  if (!taken_.count(id)) return;
  ::rename(path(id, kCopy).c_str(), path(id, kBroken).c_str());
  letGo(id);
}

void RecoveryFolder::release(const std::string& id) {
  const auto it = taken_.find(id);
  if (it == taken_.end()) return;
  ::close(it->second);
  taken_.erase(it);
}

}  // namespace obrel
