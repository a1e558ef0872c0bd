#pragma once
// The yardstick every figure is compared with: what a minimal C++ program does to copy an
// SRT file. It reads the file whole, splits it into entries (number line, timing line,
// text lines) and writes them back, with nothing else: no decoding, no checks, no window.
#include <string>
#include <vector>

namespace obrel::reference {

struct Entry {
  std::string number;
  std::string timing;
  std::vector<std::string> lines;
};

// The file's entries; an entry ends at an empty line, a line end is LF or CR LF.
// Throws std::runtime_error when the file cannot be read.
std::vector<Entry> readAndSplit(const std::string& path);

// Writes the entries as SRT with CR LF through one plain stream, as such a program would.
// Throws std::runtime_error when the file cannot be written.
void writeBack(const std::vector<Entry>& entries, const std::string& path);

// The same bytes written durably, as the program saves: a temporary file beside path,
// synced, renamed over path, and the folder synced.
void writeBackDurably(const std::vector<Entry>& entries, const std::string& path);

}  // namespace obrel::reference
