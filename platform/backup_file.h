#pragma once
// A private copy of a file's old content, kept while the file is written in place.
#include <string_view>

#include "platform/posix_file.h"

namespace obrel {

// Writes content to a new file "backup-XXXXXX" (mode 0600), synced and left open, in the
// first folder that takes it: obrel-dizivud/ in the user's cache folder, else
// obrel-dizivud-UID/ in the system's temporary folder if only the user can use that. The file
// is removed when the result is destroyed, unless kept. Throws FileError
// "REASON (folder FOLDER)" naming the first folder tried when neither takes it.
posix::ExclusiveFile writeBackup(std::string_view content);

}  // namespace obrel
