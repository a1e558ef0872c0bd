// Fuzz target: any bytes read as an SRT file by the scanner alone, without a window. The
// numbers go up by one, every timing line is kept, and one read again reads the same.
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
  int previous = -1;
  while (scanner.next(entry)) {
    if (previous >= 0 && entry.number != previous + 1) finding("a number out of turn");
    previous = entry.number;
    if (entry.broken) {
      if (!entry.last || !scanner.partial()) finding("reading goes on past a broken entry");
      continue;
    }
    checkTiming(entry.timing);
  }
  if (scanner.next(entry)) finding("an entry after the end");
  return 0;
}
