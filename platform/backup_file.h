#pragma once
// A private copy of a file's old content, kept while the file is written in place, with a
// companion NAME.about that says which file it belongs to and what was being written there,
// so that a save cut short by a crash can be told and undone at the next start.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix_file.h"

namespace obrel {

// What a backup's companion records: the file being saved (an absolute path), and the size
// and hash of the content being written to it.
struct SaveFacts {
  std::string file;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const SaveFacts&) const = default;
};

// A 64-bit hash of bytes (FNV-1a), to tell whether a file holds what was being written.
std::uint64_t contentHash(std::string_view bytes);

// The companion's text, and the facts read back from one; nullopt for anything else.
std::string aboutText(const SaveFacts& facts);
std::optional<SaveFacts> readAbout(std::string_view text);

// A backup and its companion, both removed (the companion first) when this goes, unless
// kept. Its descriptor holds an exclusive flock while it is open, which tells a starting
// program that its save is still going on.
struct Backup {
  posix::FileDescriptor folder;
  posix::ExclusiveFile file;
  posix::TemporaryFile about;
  std::string path;  // the backup's path, for messages
  // Leaves the backup and its companion on disk.
  void keep() {
    about.keep();
    file.file.keep();
  }
};

// Writes content to a new file "backup-XXXXXX" (mode 0600) and facts to "backup-XXXXXX.about",
// both synced, in the first folder that takes them: obrel-dizivud/ in the user's cache folder,
// else obrel-dizivud-UID/ in the system's temporary folder if only the user can use that.
// Throws FileError "REASON (folder FOLDER)" naming the first folder tried when neither does.
Backup writeBackup(std::string_view content, const SaveFacts& facts);

// The folders backups go to, in the order they are tried; either may be missing.
std::vector<std::string> backupFolders();

// Whether a folder or file is fit to hold the user's backups or copies: owned by the user
// and writable by no one else.
bool ownedByUserAlone(const struct stat& st);

}  // namespace obrel
