#pragma once
// Writing the entry store as an SRT file.
#include <string>

#include "document/entry_store.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace obrel {

// What a written file holds: the encoding it was written in (UTF-8 where Windows-1252
// cannot hold a character) and its identity.
struct WrittenFile {
  TextEncoding encoding;
  FileIdentity identity;
};

// Writes every present entry of slots 1 to 10000 to path, in slot order, as its number,
// its timing line, its text and an empty line, each line ended by CR LF, replacing the
// file in one step. Throws FileError, the file then unchanged.
WrittenFile writeSrt(FileSystem& files, const std::string& path, const EntryStore& store,
                     TextEncoding encoding);

}  // namespace obrel
