#pragma once
// A new folder under the system's temporary folder, removed with everything in it
// (whatever its permissions) when the object goes.
#include <filesystem>
#include <string>

namespace obrel::fake {

class TempFolder {
 public:
  // Named prefix-XXXXXX. Throws FileError when it cannot be made.
  explicit TempFolder(const std::string& prefix = "obrel");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of name inside the folder.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace obrel::fake
