// A save keeps what the file was besides its content: on the real disk.
#include <fcntl.h>
#include <poll.h>
#include <sys/fanotify.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

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
  for (const char* name = names.data(); name < names.data() + names.size(); name += std::strlen(name) + 1) {
    std::string& value = values[name];
    value.resize(std::max<ssize_t>(::getxattr(path.c_str(), name, nullptr, 0), 0));
    ::getxattr(path.c_str(), name, value.data(), value.size());
  }
  return values;
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
  struct Entry { std::uint16_t tag, perm; std::uint32_t id; };
  const Entry acl[] = {{0x01, 6, ~0u}, {0x02, 4, 65534}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
  const std::string value = std::string("\2\0\0\0", 4) + std::string(reinterpret_cast<const char*>(acl), sizeof acl);
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
                            folder_.c_str()), 0);
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

}  // namespace
}  // namespace obrel
