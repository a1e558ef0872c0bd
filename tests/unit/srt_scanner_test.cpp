// Taking a timing line apart and numbering the first entry, as files from other programs
// write them.
#include "document/srt_scanner.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace obrel {
namespace {

struct TimingCase {
  const char* what;
  std::string line;
  bool ended;
  std::optional<std::string> stored;  // nullopt: no entry
  std::string parts;                  // the eight parts joined by "|"; "" when unreadable
};

std::string joined(const TimingLine& t) {
  std::string s;
  for (const std::string& p : t.parts) s += (s.empty() ? "" : "|") + p;
  return s == "|||||||" ? "" : s;
}

TEST(ReadTimingLine, EveryKindOfLine) {
  const std::string standard = "00|00|01|000|00|00|04|000";
  const TimingCase cases[] = {
      {"as written", "00:00:01,000 --> 00:00:04,000", true, "00:00:01,000 --> 00:00:04,000",
       standard},
      {"cut off by the file's end, complete", "00:00:01,000 --> 00:00:04,000", false,
       "00:00:01,000 --> 00:00:04,000", standard},
      {"any separators", "00.00.01.000 ==> 00.00.04.000", true, "00:00:01,000 --> 00:00:04,000",
       standard},
      {"a position tail is kept", "00:00:21,501 --> 00:00:22,500  X1:000 X2:000 Y1:050 Y2:100",
       true, "00:00:21,501 --> 00:00:22,500  X1:000 X2:000 Y1:050 Y2:100",
       "00|00|21|501|00|00|22|500"},
      {"a tail of blanks is dropped", "00:00:03,000 --> 00:00:04,750 \t", true,
       "00:00:03,000 --> 00:00:04,750", "00|00|03|000|00|00|04|750"},
      {"end milliseconds cut to three, tail after a tab", "00:00:01,000 --> 00:00:02,5000\tX", true,
       "00:00:01,000 --> 00:00:02,500\tX", "00|00|01|000|00|00|02|500"},
      {"text straight after the milliseconds is cut off", "00:00:01,000 --> 00:00:02,000x", true,
       "00:00:01,000 --> 00:00:02,000", "00|00|01|000|00|00|02|000"},
      {"short parts are widened", "0:0:1,5 --> 0:0:2.25", true, "00:00:01,005 --> 00:00:02,025",
       "00|00|01|005|00|00|02|025"},
      {"single-digit hours", "1:02:03,400 --> 1:02:04,500", false, "01:02:03,400 --> 01:02:04,500",
       "01|02|03|400|01|02|04|500"},
      {"no milliseconds", "1:02:03 --> 1:02:04 X1:5", true, "01:02:03,000 --> 01:02:04,000 X1:5",
       "01|02|03|000|01|02|04|000"},
      {"no blanks around the arrow", "00:00:01,000-->00:00:04,000", true,
       "00:00:01,000 --> 00:00:04,000", standard},
      {"minutes and seconds only", "00:01,000 --> 00:02,000", true, "00:01,000 --> 00:02,000", ""},
      {"a variant followed by text", "0:00:01,000 --> 0:00:02,000x", true,
       "0:00:01,000 --> 0:00:02,000x", ""},
      {"letters at digit places", "é0:0ü:01,日00 --> 00:00:04,0ß0", true,
       "é0:0ü:01,日00 --> 00:00:04,0ß0", ""},
      {"three digits of hours", "100:00:01,000 --> 100:00:02,000", true,
       "100:00:01,000 --> 100:00:02,000", ""},
      {"blanks only", "   ", true, "   ", ""},
      {"empty", "", true, std::nullopt, ""},
      {"unreadable and cut off by the file's end", "00:0", false, std::nullopt, ""},
  };
  // One TimingLine for every case, as the reader reuses one: nothing of a line stays behind.
  TimingLine t;
  for (const TimingCase& c : cases) {
    ASSERT_EQ(readTimingLine(c.line, c.ended, t), c.stored.has_value()) << c.what;
    if (!c.stored) continue;
    EXPECT_EQ(t.line, *c.stored) << c.what;
    EXPECT_EQ(joined(t), c.parts) << c.what;
    EXPECT_EQ(t.readable, !c.parts.empty()) << c.what;
  }
}

TEST(FirstEntryNumber, ByTheIndexBoxsRule) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"1", 1},
      {"", 1},
      {" 1", 1},
      {"1.5", 2},
      {"9999", 9999},
      {"0", 0},
      {"00", 0},
      {" 0", 0},
      {"0000", 0},
      {"00000", std::nullopt},
      {"0 x", std::nullopt},
      {"10000", std::nullopt},
      {"1234x", 1234},
      {"abc", std::nullopt},
      {"-3", std::nullopt},
      {"\xEF\xBB\xBF"
       "1",
       std::nullopt},
  };
  for (const auto& [line, number] : cases) EXPECT_EQ(firstEntryNumber(line), number) << line;
}

TEST(SrtScanner, SaysWhatItSkippedAndWhereItBrokeOff) {
  // The document library alone: a file of its own on the disk, no stand-ins.
  std::string path = ::testing::TempDir() + "obrel-scan-XXXXXX";
  const int fd = ::mkstemp(path.data());
  ASSERT_GE(fd, 0);
  const std::string bytes =
      "0\r\n00:00:01,000 --> 00:00:02,000\r\nAd\r\n\r\nstray\r\nlines\r\n"
      "1\r\n1:2:3 --> 1:2:4  X1:5\r\nOne\r\n\r\n2\r\n\r\n3\r\n";
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
  RealFileSystem files;
  TextReader in(files, path, 1024);
  ::unlink(path.c_str());
  SrtScanner scanner(in);
  ScannedEntry entry;
  ASSERT_TRUE(scanner.next(entry));
  EXPECT_EQ(entry.number, 0);
  EXPECT_EQ(entry.text, "Ad");
  ASSERT_TRUE(scanner.next(entry));
  EXPECT_EQ(entry.numberLine, "1");
  EXPECT_EQ(entry.timing.line, "01:02:03,000 --> 01:02:04,000  X1:5");
  EXPECT_EQ(scanner.skippedLines(), 2);
  ASSERT_TRUE(scanner.next(entry));  // entry 2 breaks off at its empty timing line
  EXPECT_TRUE(entry.broken);
  EXPECT_TRUE(scanner.partial());
  EXPECT_FALSE(scanner.next(entry));
}

}  // namespace
}  // namespace obrel
