#include "testing/memory_file_system.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <system_error>

#include "platform/failure.h"

namespace obrel::fake {
namespace {

[[noreturn]] void fail(int error) { throw FileError(std::generic_category().message(error)); }

FileIdentity identityOf(const std::string& bytes) {
  return {0, 0, bytes.size(), static_cast<std::int64_t>(std::hash<std::string>{}(bytes))};
}

}  // namespace

FileContent MemoryFileSystem::read(const std::string& path, std::size_t maxBytes) {
  const auto it = files_.find(path);
  if (it == files_.end()) fail(ENOENT);
  if (it->second.size() > maxBytes) fail(EFBIG);
  return {it->second, identityOf(it->second)};
}

std::optional<FileIdentity> MemoryFileSystem::identity(const std::string& path) {
  const auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return identityOf(it->second);
}

FileIdentity MemoryFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) fail(ENOENT);
  files_[path] = bytes;
  return identityOf(bytes);
}

void MemoryFileSystem::writeScratch(const std::string& path, const std::string& bytes) {
  replaceFile(path, bytes);
}

void MemoryFileSystem::replacePrivateFile(const std::string& path, const std::string& bytes) {
  replaceFile(path, bytes);
}

}  // namespace obrel::fake
