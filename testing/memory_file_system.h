#pragma once
// Files kept in memory by path, for tests: no folders, no permissions, nothing on disk.
#include <map>
#include <string>

#include "platform/file_system.h"

namespace obrel::fake {

class MemoryFileSystem : public FileSystem {
 public:
  // Throws FileError "No such file or directory" for a path it does not hold, "File too
  // large" past maxBytes.
  FileContent read(const std::string& path, std::size_t maxBytes) override;
  // A file's identity is its size and a hash of its content.
  std::optional<FileIdentity> identity(const std::string& path) override;
  // Throws FileError for an empty path.
  FileIdentity replaceFile(const std::string& path, const std::string& bytes) override;
  void writeScratch(const std::string& path, const std::string& bytes) override;
  void replacePrivateFile(const std::string& path, const std::string& bytes) override;

  // The files by path; tests put content here and look at what was written.
  std::map<std::string, std::string>& files() { return files_; }
  const std::map<std::string, std::string>& files() const { return files_; }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace obrel::fake
