// Fuzz target: any bytes read as an SRT file by the scanner alone, without a window. An
// entry is in turn exactly when its number follows the one before, every timing line is
// kept, one read again reads the same, and no text ends in an empty line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/srt_scanner.h"
#include "platform/text_file.h"
#include "testing/memory_file_system.h"

namespace {

[[noreturn]] void finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

void checkTiming(const obrel::TimingLine& timing) {
  if (timing.line.empty()) finding("an entry without its timing line");
  if (!timing.readable) {
    for (const std::string& part : timing.parts) {
      if (!part.empty()) finding("parts of a line that could not be read");
    }
    return;
  }
  obrel::TimingLine again;
  if (!obrel::readTimingLine(timing.line, true, again) || again.line != timing.line ||
      again.parts != timing.parts) {
    finding("\"" + timing.line + "\" reads otherwise the second time");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  obrel::fake::MemoryFileSystem files;
  files.files()["in.srt"].assign(reinterpret_cast<const char*>(data), size);
  obrel::TextReader in(files, "in.srt", 1 << 20);
  obrel::SrtScanner scanner(in);
  obrel::ScannedEntry entry;
  long long previous = -1;
  while (scanner.next(entry)) {
    const long long next = std::min(previous + 1, obrel::kLargestEntryNumber);
    if (previous >= 0 && entry.inTurn != (entry.numbered && entry.number == next)) {
      finding("an entry in turn or out of turn wrongly");
    }
    if (!entry.numbered && previous >= 0 && entry.number != next) {
      finding("an entry without a number line that stands for another number");
    }
    previous = entry.number;
    if (entry.text.ends_with("\r\n")) finding("a text that ends in an empty line");
    if (entry.broken) {
      if (!entry.last || !scanner.partial()) finding("reading goes on past a broken entry");
      continue;
    }
    checkTiming(entry.timing);
  }
  if (scanner.next(entry)) finding("an entry after the end");
  return 0;
}
