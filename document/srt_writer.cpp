#include "document/srt_writer.h"

#include "platform/text_file.h"

namespace obrel {

WrittenFile writeSrt(FileSystem& files, const std::string& path, const EntryStore& store,
                     TextEncoding encoding) {
  TextWriter file(files, path, encoding);
  for (int k = 1; k <= EntryStore::kLast; ++k) {
    const Entry& entry = store.at(k);
    if (!entry.present()) continue;
    file.writeline(std::to_string(k));
    file.writeline(entry.EntryTiming);
    file.writeline(entry.EntryText);
    file.writeline("");
  }
  file.Close();
  return {file.writtenEncoding(), file.writtenIdentity()};
}

}  // namespace obrel
