// Taking a timing line apart and numbering the first entry, as files from other programs
// write them.
#include "document/srt_scanner.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

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
  // A number as a whole, but too large for any entry: its first four digits name none.
  EXPECT_EQ(firstEntryNumber("1234" + std::string(400, '0')), std::nullopt);
}

TEST(NumberLineValue, DigitsWithBlanksAround) {
  const std::pair<const char*, std::optional<long long>> cases[] = {
      {"7", 7},
      {" 12 ", 12},
      {"\t0042", 42},
      {"99999999999999999999", kLargestEntryNumber},
      {"1 2", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"+1", std::nullopt},
      {"3.", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width one
  };
  for (const auto& [line, value] : cases) EXPECT_EQ(numberLineValue(line), value) << line;
}

// What the scanner makes of a file, an entry a string: its number line ("-" when it has
// none), "*" when out of turn, the timing line after "?" when it cannot be read, the text in
// brackets, or "broken"; then "partial" when something was left unread.
std::vector<std::string> scan(const std::string& bytes) {
  // The document library alone: a file of its own on the disk, no stand-ins.
  std::string path = ::testing::TempDir() + "obrel-scan-XXXXXX";
  const int fd = ::mkstemp(path.data());
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
  RealFileSystem files;
  TextReader in(files, path, 1 << 20);
  ::unlink(path.c_str());
  SrtScanner scanner(in);
  ScannedEntry entry;
  std::vector<std::string> seen;
  while (scanner.next(entry)) {
    std::string s = entry.numbered ? entry.numberLine : "-";
    if (!entry.inTurn) s += "*";
    if (entry.broken) {
      seen.push_back(s + " broken");
      continue;
    }
    if (!entry.timing.readable) s += " ?" + entry.timing.line;
    seen.push_back(s + " [" + entry.text + "]");
  }
  if (scanner.partial()) seen.push_back("partial");
  return seen;
}

TEST(SrtScanner, WhereEntriesStartAndTheirTextsEnd) {
  const std::string t = "00:00:01,000 --> 00:00:02,000";
  const std::string v = "0:0:3 --> 0:0:4";  // the variant form
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> entries;
  } cases[] = {
      {"empty lines before the first entry; numbered from 0",
       "\r\n\r\n0\r\n" + t + "\r\nAd\r\n\r\n1\r\n" + t + "\r\nOne\r\n",
       {"0 [Ad]", "1 [One]"}},
      {"empty lines inside a text are text, those before the next entry are not",
       "1\n" + t + "\n\nA\n\n\nB\n   \n\n\n2\n" + t + "\nC\n\n",
       {"1 [\r\nA\r\n\r\n\r\nB\r\n   ]", "2 [C]"}},
      {"any number line directly followed by a timing line starts an entry",
       "1\n" + t + "\nA\n7\n" + v + "\nB\n 08 \n" + t + "\nC\n",
       {"1 [A]", "7* [B]", " 08  [C]"}},
      {"the next number starts an entry after an empty line, before any non-empty line",
       "1\n" + t + "\nA\n2\nsoon\n\n2\nlater\nB\n",
       {"1 [A\r\n2\r\nsoon]", "2 ?later [B]"}},
      {"a number out of turn before unreadable times starts nothing",
       "1\n" + t + "\nA\n\n3\nsoon\nB\n",
       {"1 [A\r\n\r\n3\r\nsoon\r\nB]"}},
      {"a timing line after an empty line starts an entry without a number line",
       t + "\nA\n" + v + "\n\n" + v + "\nB\n",
       {"-* [A\r\n" + v + "]", "-* [B]"}},
      {"the next number followed by empty lines, then more, is text",
       "1\n" + t + "\nA\n\n2\n\n\nB\n",
       {"1 [A\r\n\r\n2\r\n\r\n\r\nB]"}},
      {"the next number followed by nothing but empty lines broke off",
       "1\n" + t + "\nA\n\n2\n\n\n",
       {"1 [A]", "2 broken", "partial"}},
      {"a number too large for anything",
       "1\n" + t + "\nA\n\n99999999999999999999\n" + t + "\nB",
       {"1 [A]", "99999999999999999999* [B]"}},
      {"a first line the index box reads as a number",
       "1.5\n" + t + "\nA\n\n3\n" + t + "\nB\n",
       {"1.5 [A]", "3 [B]"}},
      {"a first number line without its timing line",
       "1\n\n2\n" + t + "\nA\n",
       {"1 broken", "partial"}},
  };
  for (const auto& c : cases) EXPECT_EQ(scan(c.bytes), c.entries) << c.what;
}

}  // namespace
}  // namespace obrel
