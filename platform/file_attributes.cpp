#include "platform/file_attributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

namespace obrel {
namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";

// Reads a value through get(buffer, size) into value, asking again when it grew between
// asking for its size and reading it. False, with errno, when it cannot be read.
template <typename Get>
bool readGrowing(Get get, std::string& value) {
  for (;;) {
    const ssize_t size = get(nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t n = get(value.data(), value.size());
    if (n >= 0) {
      value.resize(static_cast<std::size_t>(n));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

}  // namespace

bool giveAttributes(int from, const struct stat& old, int to) {
  // The owner first: a change of owner clears the set-user-ID and set-group-ID bits and
  // file capabilities, so those come after it.
  if (::fchown(to, old.st_uid, old.st_gid) != 0) return false;

  std::string names;
  if (!readGrowing([&](char* b, std::size_t n) { return ::flistxattr(from, b, n); }, names)) {
    if (errno != ENOTSUP) return false;
    names.clear();  // a file system without extended attributes: there are none to give
  }
  bool hasAcl = false;
  for (std::size_t at = 0; at < names.size();) {
    const std::string name(names.c_str() + at);
    at += name.size() + 1;
    std::string value;
    if (!readGrowing([&](char* b, std::size_t n) { return ::fgetxattr(from, name.c_str(), b, n); },
                     value) ||
        ::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
      return false;
    }
    hasAcl = hasAcl || name == kAccessAcl;
  }
  // A new file takes an ACL from its folder's default one; the old file had none.
  if (!hasAcl && ::fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA && errno != ENOTSUP) {
    return false;
  }
  return ::fchmod(to, old.st_mode & 07777) == 0;
}

}  // namespace obrel
