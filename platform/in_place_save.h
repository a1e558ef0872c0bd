#pragma once
// Saving by writing over a file, for when replacing it with a new file would lose its owner,
// group, attributes or other names.
#include <functional>
#include <map>
#include <string>

#include "platform/backup_file.h"
#include "platform/file_system.h"

namespace obrel {

// Backups whose old content could not be put back, by the absolute path of their file: kept
// and locked while the program runs, removed by a later save of their file that succeeds,
// left on disk when the program ends (the next start asks about them).
class KeptBackups {
 public:
  KeptBackups() = default;
  ~KeptBackups();
  KeptBackups(const KeptBackups&) = delete;
  KeptBackups& operator=(const KeptBackups&) = delete;

  void keep(const std::string& file, Backup backup);
  // The file was saved: its kept backups go.
  void saved(const std::string& file) { byFile_.erase(file); }

 private:
  std::multimap<std::string, Backup> byFile_;
};

// The absolute form of path: the current folder put before a relative one.
std::string absolutePath(const std::string& path);

// Writes bytes over the regular file target and returns the identity of the file written.
// Its old content is first copied to a backup (see writeBackup), removed once the file holds
// the new or the old content again. afterCut, when set, runs right after the file is cut
// (a fault for tests). Throws FileError: the system's reason when the file cannot be opened,
// read or written (the old content then put back), the backup's "REASON (folder FOLDER)" when
// no backup can be made (the file untouched), or "The content from before the save is kept in
// BACKUP", CR LF and the write's reason when the old content cannot be put back (the backup
// then in kept).
FileIdentity saveInPlace(const std::string& target, const std::string& bytes, KeptBackups& kept,
                         const std::function<void()>& afterCut = {});

}  // namespace obrel
