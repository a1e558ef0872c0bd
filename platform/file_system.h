#pragma once
// Every file the program reads or writes goes through FileSystem, so the logic can be
// tested against MemoryFileSystem and a failing disk can be staged.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace obrel {

// What tells whether a file's content was changed by someone else since it was read or
// written: a change of mode or owner alone leaves it as it is.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;  // modification time in nanoseconds
  bool operator==(const FileIdentity&) const = default;
};

struct FileContent {
  std::string bytes;
  FileIdentity identity;  // of the file the bytes were read from
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

  // The whole content of a regular file and its identity. Never waits: anything but a
  // regular file (a pipe, a device, a folder) fails like a missing file. Throws FileError
  // (with the system's reason) when the file cannot be opened or read, or "File too large"
  // when it holds more than maxBytes bytes, found out without reading more than that.
  virtual FileContent read(const std::string& path, std::size_t maxBytes) = 0;

  // read(), content only.
  std::string readFile(const std::string& path, std::size_t maxBytes = kNoLimit) {
    return read(path, maxBytes).bytes;
  }

  // The identity of the file at path (a symbolic link followed); nullopt when there is none
  // or it cannot be looked at.
  virtual std::optional<FileIdentity> identity(const std::string& path) = 0;

  // Replaces the file with bytes, creating it if missing, and returns the identity of the
  // file written. On any failure FileError is thrown, its reason saying what failed, and the
  // existing file keeps its content; should even that fail, the reason says where a copy of
  // the old content was kept.
  virtual FileIdentity replaceFile(const std::string& path, const std::string& bytes) = 0;

  // Writes a scratch file in place, without the care replaceFile takes: for content that
  // can be made again. Throws FileError when it cannot be written.
  virtual void writeScratch(const std::string& path, const std::string& bytes) = 0;

  // Replaces the file whole with bytes, readable and writable by the user alone (0600),
  // making each missing folder above it private (0700): for the program's own settings and
  // lists. The file appears whole or not at all. Throws FileError when it cannot be written.
  virtual void replacePrivateFile(const std::string& path, const std::string& bytes) = 0;
};

class KeptBackups;

// The disk, through POSIX calls.
class RealFileSystem : public FileSystem {
 public:
  RealFileSystem();
  ~RealFileSystem() override;

  FileContent read(const std::string& path, std::size_t maxBytes) override;
  std::optional<FileIdentity> identity(const std::string& path) override;

  // Saves through a new file ".obrel-XXXXXX" in the target's folder, synced and renamed over
  // the target, each step relative to the folder's descriptor, so that any path that can be
  // opened can be saved; a symbolic link is followed, so the link stays and the file it names
  // is saved. A new file gets 0666 less the umask. An existing file's replacement is made 0600
  // and given its owner, group, extended attributes (ACLs among them) and mode before the
  // rename; when it cannot be (other names, a folder that takes no new file, an owner the
  // user cannot give) the file is written in place behind a backup (see saveInPlace).
  // Refuses an empty path, a target that is not a regular file, and a read-only target:
  // one the user may not write (access W_OK) or that has no write bit at all, which
  // protects it even from root. Reasons: the system's alone when the file itself failed,
  // "REASON (folder FOLDER)" when a new file could not be made in FOLDER, the folder part
  // of path as given. A save that succeeds removes the backups kept by earlier saves of the
  // same file whose old content could not be put back.
  FileIdentity replaceFile(const std::string& path, const std::string& bytes) override;

  // Writes only a regular file with a single name, never through a link nor to a pipe.
  void writeScratch(const std::string& path, const std::string& bytes) override;

  // A temporary file (0600) synced and renamed over the target; a symbolic link is followed,
  // as by replaceFile.
  void replacePrivateFile(const std::string& path, const std::string& bytes) override;

  // A fault for tests and the driver: runs right after a file saved in place has been cut,
  // before its new content is written (they end the process there, as a crash would).
  std::function<void()> afterCut;

 private:
  std::unique_ptr<KeptBackups> kept_;
};

}  // namespace obrel
