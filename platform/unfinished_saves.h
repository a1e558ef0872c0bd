#pragma once
// Saves in place that a crash cut short, found at start by the backups they left behind.
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/posix_file.h"

namespace obrel {

// A file whose save in place did not finish, and the content it held before that save.
struct UnfinishedSave {
  std::string file;    // absolute path
  std::string backup;  // the backup's path
  posix::FileDescriptor folder;
  posix::FileDescriptor locked;  // the backup, its lock held
  std::string name;              // the backup's name in folder
};

// Looks at every backup in the backup folders (see backupFolders) that are the user's alone
// whose lock can be taken without waiting: one whose file now holds the content that was
// being written, or the backup's own, goes with its companion, as does one whose companion
// was never finished (its file was not touched yet); one without a companion stays. The
// others are returned, their locks held. Never throws: what cannot be looked at is left as
// it is.
std::vector<UnfinishedSave> findUnfinishedSaves();

// Writes the kept content back into the file the safe way (in place, synced; a missing file
// is created), then removes the backup; returns the identity of the file written. Throws
// FileError, the backup then kept.
FileIdentity putBack(UnfinishedSave& save);

// Removes the backup and its companion.
void discard(UnfinishedSave& save);

}  // namespace obrel
