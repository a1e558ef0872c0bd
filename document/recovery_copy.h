#pragma once
// The recovery copy: the whole document as it stands, written while it holds unsaved work
// so that a crash loses nothing. SRT cannot hold all of it (slot 0, gaps, entries without a
// timing line, parts that differ from the line), so this is a lossless dump of its own: a
// line of text per field, with backslash escapes for tab, CR, LF and the backslash.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/entry_store.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace obrel {

// What a copy holds besides the store.
struct DocumentFacts {
  std::int16_t currentIndex = 1;  // 0 to 10000
  std::string currentFile;
  TextEncoding encoding = TextEncoding::Utf8;
  bool partialLoad = false;
  std::optional<FileIdentity> identity;
  std::int64_t writtenAt = 0;  // seconds since the epoch
};

struct RecoveredDocument {
  EntryStore store;
  DocumentFacts facts;
};

// The dump of a document; every non-empty slot from 0 to 10000 with its ten values.
std::string writeRecoveryCopy(const EntryStore& store, const DocumentFacts& facts);

// Reads a dump back; nothing for anything but a whole, well-formed dump (a copy cut short
// lacks its last line).
std::optional<RecoveredDocument> readRecoveryCopy(std::string_view text);

// Whether text reads back as a whole dump.
bool isWholeRecoveryCopy(std::string_view text);

// Enough of a dump's first bytes to hold the time it was written.
constexpr std::size_t kRecoveryCopyHeadBytes = 64;
// The time a dump was written, read from its first bytes; nullopt when they are no dump's.
std::optional<std::int64_t> recoveryCopyTime(std::string_view head);

}  // namespace obrel
