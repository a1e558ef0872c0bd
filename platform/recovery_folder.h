#pragma once
// The folder of recovery copies, $XDG_STATE_HOME/obrel-dizivud/recovery (~/.local/state/...
// when unset). Each running program writes its copy there as ID.copy and holds a lock
// (flock) on ID.lock while its copy may exist; a copy whose lock nobody holds belongs to a
// program that ended abnormally, and may be taken by the next one that starts.
//
// The folder's last two levels are the program's own: each is opened without following a
// link and used only when it is the user's and no one else may write to it (one of the
// user's with wider permissions is narrowed to 0700). Everything in it is reached through
// the folder's descriptor, and only regular files of the user's are read.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obrel {

// The folder for the environment given: XDG_STATE_HOME when it is an absolute path, else
// HOME/.local/state when HOME is one, else the home folder in the user database's
// .local/state, with obrel-dizivud/recovery added. Relative (and refused by RecoveryFolder)
// when no home folder is known at all.
std::string recoveryFolderPath(const char* stateHome, const char* home);

class RecoveryFolder {
 public:
  // Nothing is made or read until it is used. No copy larger than largestCopy bytes is
  // written or read.
  RecoveryFolder(std::string folder, std::size_t largestCopy);
  // Lets go of every lock; removes nothing (a program that ends abnormally leaves its copy).
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  // Makes text this program's copy, replacing the last one whole (a temporary file ID.tmp.*,
  // mode 0600, synced, renamed). The first write makes the folder (0700) and takes the lock.
  // Throws FileError with the reason alone ("File too large" for a text over the limit).
  void write(const std::string& text);
  // Removes this program's copy, then its lock file. Never throws.
  void remove();

  // Another program's copy and its first bytes.
  struct Found {
    std::string id;
    std::string head;
  };
  // Tidies the folder, then lists the copies other programs left, with their first
  // headBytes bytes, taking no lock. On the way, where the lock of a copy's program can be
  // taken: a temporary file its program left that whole() accepts replaces its copy and any
  // other is removed; copies and .broken ones last changed more than 30 days ago, and lock
  // files without a copy, are deleted; a copy that is no regular file of the user's is made
  // broken. Never throws: a folder that cannot be read, or is not the user's, has none.
  std::vector<Found> abandonedCopies(std::size_t headBytes,
                                     const std::function<bool(std::string_view)>& whole);
  // Takes the lock of id's copy without waiting; false when its program still holds it.
  bool take(const std::string& id);
  // The text of a taken copy; nullopt when it is no regular file of the user's, is larger
  // than the largest copy or cannot be read.
  std::optional<std::string> read(const std::string& id);
  // Deletes a taken copy and its lock file.
  void discard(const std::string& id);
  // Renames a taken copy that could not be read to ID.copy.broken, kept for 30 days.
  void markBroken(const std::string& id);
  // Lets go of a taken copy's lock, leaving it for a later start.
  void release(const std::string& id);

  const std::string& folder() const { return folder_; }

 private:
  // The folder opened as described above, made when missing if make is set. Throws
  // FileError.
  int openFolder(bool make);
  // Takes id's lock in the scanned folder without waiting; -1 when another program holds
  // it or it is not the linked file any more.
  int lockOf(const std::string& id);
  void letGo(const std::string& id);
  // Replaces id's copy by a whole temporary file it left, removing the others.
  void recoverTemporaries(const std::string& id, const std::vector<std::string>& temporaries,
                          const std::function<bool(std::string_view)>& whole);
  std::optional<std::string> readOwn(const std::string& name, std::size_t maxBytes);

  std::string folder_;
  std::size_t largestCopy_;
  std::string id_;
  int own_ = -1;  // the folder, while this program's lock is held
  int lock_ = -1;
  int scan_ = -1;  // the folder that copies were listed in
  std::map<std::string, int> taken_;
};

}  // namespace obrel
