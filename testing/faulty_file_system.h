#pragma once
// Any FileSystem with failures staged on purpose, for tests of what the program does when
// the disk lets it down. Faults keep the FileSystem's promises: a failed replacement
// changes nothing.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace obrel::fake {

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  // The next replaceFile, writeScratch or replacePrivateFile whose content is longer than
  // bytes fails with "No space left on device", changing nothing; a content of bytes or fewer
  // is written. Either way that call uses the fault up.
  void failNextWriteAfter(std::size_t bytes) { failAfter_ = bytes; }

  FileContent read(const std::string& path, std::size_t maxBytes) override {
    return inner_.read(path, maxBytes);
  }
  std::optional<FileIdentity> identity(const std::string& path) override {
    return inner_.identity(path);
  }
  FileIdentity replaceFile(const std::string& path, const std::string& bytes) override;
  void writeScratch(const std::string& path, const std::string& bytes) override;
  void replacePrivateFile(const std::string& path, const std::string& bytes) override;

 private:
  // Throws the staged fault, if any, for a write of bytes.
  void spendFault(const std::string& bytes);

  FileSystem& inner_;
  std::optional<std::size_t> failAfter_;
};

}  // namespace obrel::fake
