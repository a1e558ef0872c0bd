#pragma once
// Large and hostile subtitle files, written a piece at a time, that opening must survive: the
// tests check what the window makes of each, the benchmarks time the reading.
#include <cstddef>
#include <string>
#include <string_view>

namespace obrel::fake {

enum class LargeFile {
  RandomBytes,       // no number in the first line, whatever the bytes
  EndlessLine,       // one line without end
  EndlessEntryText,  // one entry whose text is one endless line
  ManyEntries,       // 100,000 well-formed entries of long texts
  Utf16OddBytes,     // 5000 entries of long texts in UTF-16, and one stray byte at the end
  NulBytes,          // nothing but NUL bytes
};

// What it is, for messages: "random bytes", "one endless line", ...
const char* largeFileName(LargeFile kind);

// Writes a file of the kind at path, of size bytes (ManyEntries a little more). Returns false
// when it could not be written.
bool writeLargeFile(const std::string& path, LargeFile kind, std::size_t size);

// The number and timing lines before the endless text of EndlessEntryText.
constexpr std::string_view kEndlessEntryHead = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
// The text of entry k of a ManyEntries file of size bytes.
std::string manyEntriesText(std::size_t size, int k);
// The text of every entry of a Utf16OddBytes file of size bytes, as UTF-8.
std::string utf16EntryText(std::size_t size);

}  // namespace obrel::fake
