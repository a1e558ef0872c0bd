// A save keeps what the file was besides its content, and the scratch file never writes
// elsewhere: on the real disk, as root where another user is needed.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/fanotify.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/backup_file.h"
#include "platform/failure.h"
#include "platform/posix_file.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;

struct stat statusOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st;
}

std::map<std::string, std::string> attributesOf(const std::string& path) {
  std::string names(std::max<ssize_t>(::listxattr(path.c_str(), nullptr, 0), 0), '\0');
  ::listxattr(path.c_str(), names.data(), names.size());
  std::map<std::string, std::string> values;
  for (const char* name = names.data(); name < names.data() + names.size();
       name += std::strlen(name) + 1) {
    std::string& value = values[name];
    value.resize(std::max<ssize_t>(::getxattr(path.c_str(), name, nullptr, 0), 0));
    ::getxattr(path.c_str(), name, value.data(), value.size());
  }
  return values;
}

// What() of the FileError the call throws; empty when it throws none.
template <typename Call>
std::string failureOf(Call call) {
  try {
    call();
  } catch (const FileError& e) {
    return e.what();
  }
  return "";
}

TEST_F(RealFileSystemTest, OwnerGroupSetIdBitsAttributesAndAclSurviveASave) {
  put("a.srt", "old");
  const std::string file = path("a.srt");
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }
  if (::setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0) GTEST_SKIP() << "no user xattrs";
  // Version 2, then tag, permissions and id of each entry, little-endian: owner rw, the user
  // 65534 r, group r, mask r, others nothing.
  struct Entry {
    std::uint16_t tag, perm;
    std::uint32_t id;
  };
  const Entry acl[] = {
      {0x01, 6, ~0u}, {0x02, 4, 65534}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
  const std::string value =
      std::string("\2\0\0\0", 4) + std::string(reinterpret_cast<const char*>(acl), sizeof acl);
  if (::setxattr(file.c_str(), "system.posix_acl_access", value.data(), value.size(), 0) != 0) {
    GTEST_SKIP() << "no POSIX ACLs";
  }
  ASSERT_EQ(::chmod(file.c_str(), 06750), 0);
  const struct stat before = statusOf(file);
  const auto attributes = attributesOf(file);

  fs_.replaceFile(file, "new");
  const struct stat after = statusOf(file);
  EXPECT_EQ(fs_.readFile(file), "new");
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(attributesOf(file), attributes);
}

TEST_F(RealFileSystemTest, TemporaryFileIsNeverReadableByMoreThanTheFinalFile) {
  put("a.srt", "old");
  ::chmod(path("a.srt").c_str(), 0600);
  // Permission events hold every open in the folder until its mode has been looked at; from
  // here on this thread opens nothing there.
  const int events = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC | FAN_NONBLOCK, O_RDONLY);
  if (events < 0) GTEST_SKIP() << "no fanotify permission events";
  ASSERT_EQ(::fanotify_mark(events, FAN_MARK_ADD, FAN_OPEN_PERM | FAN_EVENT_ON_CHILD, AT_FDCWD,
                            folder_.c_str()),
            0);
  const mode_t mask = ::umask(022);
  std::atomic<bool> done = false;
  std::thread save([&] {
    EXPECT_NO_THROW(fs_.replaceFile(path("a.srt"), "new"));
    done = true;
  });
  std::vector<mode_t> modes;
  for (pollfd ready{events, POLLIN, 0}; !done;) {
    if (::poll(&ready, 1, 10) <= 0) continue;
    alignas(fanotify_event_metadata) char buffer[4096];
    ssize_t n = ::read(events, buffer, sizeof buffer);
    for (auto* e = reinterpret_cast<fanotify_event_metadata*>(buffer); n > 0 && FAN_EVENT_OK(e, n);
         e = FAN_EVENT_NEXT(e, n)) {
      struct stat st {};
      ::fstat(e->fd, &st);
      modes.push_back(st.st_mode & 07777);
      const fanotify_response allow{e->fd, FAN_ALLOW};
      EXPECT_EQ(::write(events, &allow, sizeof allow), static_cast<ssize_t>(sizeof allow));
      ::close(e->fd);
    }
  }
  save.join();
  ::close(events);
  ::umask(mask);
  EXPECT_GE(modes.size(), 2u);  // the file read, the temporary file made
  for (mode_t mode : modes) EXPECT_EQ(mode & ~0600, 0u) << std::oct << mode;
  EXPECT_EQ(modeOf("a.srt"), 0600u);
}

TEST_F(RealFileSystemTest, AnyNameThatFitsItsFolderSaves) {
  for (std::size_t length : {244, 255}) {
    const std::string name = std::string(length - 4, 'n') + ".srt";
    fs_.replaceFile(path(name), "new file");
    fs_.replaceFile(path(name), "saved again");
    EXPECT_EQ(fs_.readFile(path(name)), "saved again") << length;
    EXPECT_EQ(entries(), std::vector<std::string>{name});
    fs::remove(path(name));
  }
}

// The temporary file is made, renamed and synced relative to the folder: a path near PATH_MAX
// with a name shorter than the temporary file's is created, then replaced by rename.
TEST_F(RealFileSystemTest, APathNearPathMaxIsSavedByRename) {
  const std::string name = "a.srt";
  const std::size_t folderLength = PATH_MAX - 2 - name.size();
  std::string folder = folder_.string();
  while (folder.size() + 1 + 255 < folderLength) folder += '/' + std::string(200, 'd');
  folder += '/' + std::string(folderLength - folder.size() - 1, 'e');
  fs::create_directories(folder);
  const std::string file = folder + '/' + name;
  ASSERT_EQ(file.size(), std::size_t{PATH_MAX - 1});

  fs_.replaceFile(file, "new file");
  const ino_t created = statusOf(file).st_ino;
  fs_.replaceFile(file, "replaced");
  EXPECT_EQ(fs_.readFile(file), "replaced");
  EXPECT_NE(statusOf(file).st_ino, created);  // renamed over it, not written in place
  EXPECT_EQ(entriesOf(folder), std::vector<std::string>{name});
  EXPECT_EQ(backups(), std::vector<std::string>{});
}

// A file with a second name is written in place, so both names keep showing one file.
class InPlaceSaveTest : public RealFileSystemTest {
 protected:
  void SetUp() override {
    RealFileSystemTest::SetUp();
    put("a.srt", "old content");
    fs::create_hard_link(path("a.srt"), path("b.srt"));
    before_ = statusOf(path("a.srt"));
  }
  // The save's failure, empty when none; either way the same file under both names.
  std::string save() {
    const std::string failure = failureOf([&] { written_ = fs_.replaceFile(path("a.srt"), kNew); });
    EXPECT_EQ(statusOf(path("b.srt")).st_ino, before_.st_ino);
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.srt", "b.srt"}));
    return failure;
  }
  // Longer than the backup's companion, so that a file-size limit can let that through.
  inline static const std::string kNew = "new and longer content" + std::string(1000, '.');
  struct stat before_ {};
  std::optional<FileIdentity> written_;
};

TEST_F(InPlaceSaveTest, BackupIsRemovedOnceTheFileHoldsNewOrOldContent) {
  EXPECT_EQ(save(), "");
  EXPECT_EQ(fs_.readFile(path("b.srt")), kNew);
  EXPECT_EQ(written_, fs_.identity(path("b.srt")));
  EXPECT_EQ(backups(), std::vector<std::string>{});

  fs_.replaceFile(path("a.srt"), "old content");
  {
    // Room for the old content, its backup and the backup's companion, not the new.
    const FileSizeLimit limit(512);
    EXPECT_EQ(save(), "File too large");
  }
  EXPECT_EQ(fs_.readFile(path("b.srt")), "old content");
  EXPECT_EQ(backups(), std::vector<std::string>{});
}

// Kept, named, described by its companion and locked while the program runs; a later save of
// the file that succeeds removes it.
TEST_F(InPlaceSaveTest, BackupIsKeptAndNamedWhenTheOldContentCannotBePutBack) {
  std::string failure;
  {
    const FileSizeLimit limit(512, true);
    failure = save();
  }
  ASSERT_EQ(backups().size(), 2u);
  const std::string backup = (root_ / "cache" / "obrel-dizivud" / backups()[0]).string();
  EXPECT_EQ(backups()[1], backups()[0] + ".about");
  EXPECT_EQ(failure,
            "The content from before the save is kept in " + backup + "\r\nFile too large");
  EXPECT_EQ(fs_.readFile(backup), "old content");
  EXPECT_EQ(statusOf(backup).st_mode & 07777, 0600u);
  EXPECT_EQ(readAbout(fs_.readFile(backup + ".about")),
            (SaveFacts{path("a.srt"), kNew.size(), contentHash(kNew)}));
  const posix::FileDescriptor other(::open(backup.c_str(), O_RDONLY | O_CLOEXEC));
  EXPECT_FALSE(posix::lockExclusive(other.get()));

  EXPECT_EQ(save(), "");
  EXPECT_EQ(backups(), std::vector<std::string>{});
}

// Without a cache folder, backups go to obrel-dizivud-UID in TMPDIR if it is the user's
// alone; with no backup the file is not touched.
TEST_F(InPlaceSaveTest, SharedTemporaryFolderIsUsedOnlyWhenPrivate) {
  put("../cache", "");  // a file where the cache folder should be
  const fs::path shared = root_ / "tmp" / ("obrel-dizivud-" + std::to_string(::geteuid()));
  const auto privateFolder = [&](mode_t mode) {
    fs::create_directory(shared);
    ::chmod(shared.c_str(), mode);
  };
  std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"a link to a private folder", [&] { fs::create_directory_symlink(folder_, shared); }},
      {"open to others", [&] { privateFolder(0755); }},
  };
  if (::geteuid() == 0) {
    cases.emplace_back("another user's", [&] {
      privateFolder(0700);
      ::chown(shared.c_str(), 65534, 65534);
    });
  }
  for (const auto& [name, make] : cases) {
    make();
    EXPECT_EQ(save(), "Not a directory (folder " + (root_ / "cache/obrel-dizivud").string() + ")")
        << name;
    EXPECT_EQ(fs_.identity(path("a.srt")), posix::identityOf(before_)) << name;
    fs::remove_all(shared);
  }
  EXPECT_EQ(save(), "") << "made when missing";
  EXPECT_EQ(statusOf(shared.string()).st_mode & 07777, 0700u);
  EXPECT_EQ(entriesOf(shared), std::vector<std::string>{});
}

// Saved by nobody: a file of root's that nobody may write through its group, in a folder
// that takes no new file from nobody, or one that does.
TEST_F(RealFileSystemTest, AnotherUsersFileIsWrittenInPlaceKeepingItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  const uid_t uid = nobody->pw_uid;
  const gid_t gid = nobody->pw_gid;
  ::chmod(root_.c_str(), 0755);
  ::chmod((root_ / "tmp").c_str(), 01777);
  for (mode_t folderMode : {0755, 0777}) {
    ::chmod(folder_.c_str(), folderMode);
    put("a.srt", "old");
    ::chown(path("a.srt").c_str(), 0, gid);
    ::chmod(path("a.srt").c_str(), 0664);
    const struct stat before = statusOf(path("a.srt"));
    const pid_t child = ::fork();
    if (child == 0) {
      const bool saved =
          ::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, gid) == 0 &&
          ::setresuid(uid, uid, uid) == 0 &&
          failureOf([&] { RealFileSystem().replaceFile(path("a.srt"), "new"); }).empty();
      ::_exit(saved ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    const struct stat after = statusOf(path("a.srt"));
    EXPECT_EQ(status, 0) << std::oct << folderMode;
    EXPECT_EQ(fs_.readFile(path("a.srt")), "new");
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
  }
}

// The scratch file is written over in place, so a shorter text must leave nothing of a longer.
TEST_F(RealFileSystemTest, TheScratchFileIsWrittenOverToItsNewLength) {
  const std::string scratch = path("Temp.srt");
  fs_.writeScratch(scratch, "a much longer text than the next one\r\n");
  fs_.writeScratch(scratch, "short\r\n");
  EXPECT_EQ(fs_.readFile(scratch), "short\r\n");
  fs_.writeScratch(scratch, "");
  EXPECT_EQ(fs_.readFile(scratch), "");
}

// Anything but a plain file with one name is skipped: nothing written anywhere, no waiting.
TEST_F(RealFileSystemTest, ScratchFileIsWrittenOnlyWhenItIsAPlainFileWithOneName) {
  put("other.txt", "other");
  fs::create_symlink("other.txt", folder_ / "link.srt");
  fs::create_symlink("missing.txt", folder_ / "dangling.srt");
  fs::create_hard_link(path("other.txt"), path("linked.srt"));
  ASSERT_EQ(::mkfifo(path("read-pipe.srt").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(path("pipe.srt").c_str(), 0600), 0);
  const int reader = ::open(path("read-pipe.srt").c_str(), O_RDONLY | O_NONBLOCK);
  for (const char* name : {"link.srt", "dangling.srt", "linked.srt", "read-pipe.srt", "pipe.srt"}) {
    EXPECT_THROW(fs_.writeScratch(path(name), "scratch"), FileError) << name;
  }
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0);  // nothing was written into the pipe
  ::close(reader);
  EXPECT_EQ(fs_.readFile(path("other.txt")), "other");
  EXPECT_FALSE(fs::exists(path("missing.txt")));
}

}  // namespace
}  // namespace obrel
