#pragma once
// Saving by writing over a file, for when replacing it with a new file would lose its owner,
// group, attributes or other names.
#include <string>

#include "platform/file_system.h"

namespace obrel {

// Writes bytes over the regular file target and returns the identity of the file written.
// Its old content is first copied to a backup (see writeBackup), removed once the file holds
// the new or the old content again. Throws FileError: the system's reason when the file
// cannot be opened, read or written (the old content then put back), the backup's
// "REASON (folder FOLDER)" when no backup can be made (the file untouched), or the backup's
// path, CR LF and the write's reason when the old content cannot be put back (the backup kept).
FileIdentity saveInPlace(const std::string& target, const std::string& bytes);

}  // namespace obrel
