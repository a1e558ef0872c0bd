#include "testing/faulty_file_system.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/failure.h"

namespace obrel::fake {

void FaultyFileSystem::spendFault(const std::string& bytes) {
  const std::optional<std::size_t> fault = std::exchange(failAfter_, std::nullopt);
  if (fault && bytes.size() > *fault) throw FileError(std::generic_category().message(ENOSPC));
}

FileIdentity FaultyFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
  spendFault(bytes);
  return inner_.replaceFile(path, bytes);
}

void FaultyFileSystem::writeScratch(const std::string& path, const std::string& bytes) {
  spendFault(bytes);
  inner_.writeScratch(path, bytes);
}

void FaultyFileSystem::replacePrivateFile(const std::string& path, const std::string& bytes) {
  spendFault(bytes);
  inner_.replacePrivateFile(path, bytes);
}

}  // namespace obrel::fake
