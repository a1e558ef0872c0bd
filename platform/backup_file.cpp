#include "platform/backup_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/home_folder.h"

namespace obrel {
namespace {

constexpr std::string_view kAboutFirstLine = "Obrel Dizivud backup 1\n";
constexpr const char* kAboutSuffix = ".about";

// The user's cache folder; empty when there is no telling where it is.
std::string cacheFolder() {
  if (std::string cache = absolutePathIn("XDG_CACHE_HOME"); !cache.empty()) return cache;
  const std::string home = homeFolder();
  return home.empty() ? "" : (home == "/" ? "" : home) + "/.cache";
}

std::string temporaryFolder() {
  std::string temporary = absolutePathIn("TMPDIR");
  if (temporary.empty()) temporary = "/tmp";
  return (temporary == "/" ? "" : temporary) + "/obrel-dizivud-" + std::to_string(::geteuid());
}

// Opens folder, made (0700) when missing, never through a link. The cache one may have been
// made wider by the user and is narrowed; one in a place every user may write to must be
// this user's alone already: a folder, owned by the user, mode 0700.
posix::FileDescriptor openPrivateFolder(const std::string& folder, bool mayNarrow) {
  ::mkdir(folder.c_str(), 0700);  // one that exists is checked like a new one
  posix::FileDescriptor fd(
      posix::openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) posix::fail(errno == ELOOP ? ENOTDIR : errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) posix::fail(errno);
  if (st.st_uid != ::geteuid()) posix::fail(EACCES);
  if ((st.st_mode & 07777) != 0700 && (!mayNarrow || ::fchmod(fd.get(), 0700) != 0)) {
    posix::fail(EACCES);
  }
  return fd;
}

// A new backup file whose lock is held. A starting program may take the lock of a backup it
// has just found before its owner does; the owner then makes another.
posix::ExclusiveFile lockedFile(int folder) {
  for (int attempt = 0;; ++attempt) {
    posix::ExclusiveFile file = posix::createExclusive(folder, "backup-", O_RDWR, 0600);
    struct stat held;
    struct stat named;
    if (posix::lockExclusive(file.fd.get()) && ::fstat(file.fd.get(), &held) == 0 &&
        ::fstatat(folder, file.file.name().c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      return file;
    }
    if (attempt == 10) posix::fail(EEXIST);
  }
}

Backup writeIn(const std::string& folder, bool mayNarrow, std::string_view content,
               const SaveFacts& facts) {
  posix::FileDescriptor fd = openPrivateFolder(folder, mayNarrow);
  const int at = fd.get();
  posix::ExclusiveFile file = lockedFile(at);
  posix::writeAll(file.fd.get(), content);
  if (::fsync(file.fd.get()) != 0) posix::fail(errno);
  const std::string aboutName = file.file.name() + kAboutSuffix;
  ::unlinkat(at, aboutName.c_str(), 0);  // a companion left without its backup
  const posix::FileDescriptor about(posix::openRetrying(
      at, aboutName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (about.get() < 0) posix::fail(errno);
  posix::TemporaryFile aboutFile(at, aboutName);
  posix::writeAll(about.get(), aboutText(facts));
  if (::fsync(about.get()) != 0) posix::fail(errno);
  posix::syncFolder(at);
  std::string path = folder + '/' + file.file.name();
  return Backup{std::move(fd), std::move(file), std::move(aboutFile), std::move(path)};
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string aboutText(const SaveFacts& facts) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(facts.hash));
  // The path comes last and runs to the final line end, so that it may hold any byte.
  return std::string(kAboutFirstLine) + "size " + std::to_string(facts.size) + "\nhash " + hash +
         "\nfile " + facts.file + "\n";
}

std::optional<SaveFacts> readAbout(std::string_view text) {
  if (!text.starts_with(kAboutFirstLine) || !text.ends_with('\n')) return std::nullopt;
  text.remove_prefix(kAboutFirstLine.size());
  text.remove_suffix(1);
  SaveFacts facts;
  const auto number = [&text](std::string_view key, int base, std::uint64_t& value) {
    if (!text.starts_with(key)) return false;
    const char* first = text.data() + key.size();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end == first || end == last || *end != '\n') return false;
    text.remove_prefix(static_cast<std::size_t>(end + 1 - text.data()));
    return true;
  };
  if (!number("size ", 10, facts.size) || !number("hash ", 16, facts.hash) ||
      !text.starts_with("file /")) {
    return std::nullopt;
  }
  facts.file = text.substr(5);
  return facts;
}

bool ownedByUserAlone(const struct stat& st) {
  return st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::vector<std::string> backupFolders() {
  std::vector<std::string> folders;
  if (const std::string cache = cacheFolder(); !cache.empty()) {
    folders.push_back(cache + "/obrel-dizivud");
  }
  folders.push_back(temporaryFolder());
  return folders;
}

Backup writeBackup(std::string_view content, const SaveFacts& facts) {
  std::optional<FileError> firstFailure;
  if (const std::string cache = cacheFolder(); !cache.empty()) {
    const std::string folder = cache + "/obrel-dizivud";
    // Failures are left to opening the folder, whose reason says what is wrong.
    ::mkdir(cache.c_str(), 0700);
    try {
      return writeIn(folder, true, content, facts);
    } catch (const FileError& e) {
      firstFailure = posix::withFolder(e, folder);
    }
  }
  const std::string folder = temporaryFolder();
  try {
    return writeIn(folder, false, content, facts);
  } catch (const FileError& e) {
    throw firstFailure ? *firstFailure : posix::withFolder(e, folder);
  }
}

}  // namespace obrel
