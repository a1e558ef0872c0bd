#pragma once
// The folder of recovery copies, $XDG_STATE_HOME/obrel-dizivud/recovery (~/.local/state/...
// when unset). Each running program writes its copy there as ID.copy and holds a lock
// (flock) on ID.lock while its copy may exist; a copy whose lock nobody holds belongs to a
// program that ended abnormally, and may be taken by the next one that starts.
#include <map>
#include <string>
#include <vector>

namespace obrel {

// The folder for the environment given: XDG_STATE_HOME when it is an absolute path, else
// HOME/.local/state, with obrel-dizivud/recovery added.
std::string recoveryFolderPath(const char* stateHome, const char* home);

class RecoveryFolder {
 public:
  // Nothing is made or read until it is used.
  explicit RecoveryFolder(std::string folder);
  // Lets go of every lock; removes nothing (a program that ends abnormally leaves its copy).
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  // Makes text this program's copy, replacing the last one whole (a temporary file, mode
  // 0600, synced, renamed). The first write makes the folder (0700) and takes the lock.
  // Throws FileError.
  void write(const std::string& text);
  // Removes this program's copy, then its lock file. Never throws.
  void remove();

  // A copy another program left: its id and text. Its lock is this program's until it is
  // discarded, marked broken or released.
  struct Abandoned {
    std::string id;
    std::string text;
  };
  // Takes every abandoned copy. Abandoned copies and .broken ones last changed more than
  // 30 days ago are deleted on the way, as are lock files without a copy. Never throws: a
  // folder that cannot be read has none.
  std::vector<Abandoned> takeAbandoned();
  // Deletes a taken copy and its lock file.
  void discard(const std::string& id);
  // Renames a taken copy that could not be read to ID.copy.broken, kept for 30 days.
  void markBroken(const std::string& id);
  // Lets go of a taken copy's lock, leaving it for a later start.
  void release(const std::string& id);

  const std::string& folder() const { return folder_; }

 private:
  std::string path(const std::string& id, const char* suffix) const;
  void makeFolder();
  // Takes id's lock without waiting; -1 when another program holds it or it is not the
  // linked file any more.
  int lockOf(const std::string& id);
  void letGo(const std::string& id);

  std::string folder_;
  std::string id_;
  int lock_ = -1;
  std::map<std::string, int> taken_;
};

}  // namespace obrel
