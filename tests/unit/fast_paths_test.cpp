// The short cuts taken for speed must give exactly what the plain way gives: the text
// box's set, the entry-number reading, the reader's one-read timing line, line ends found
// a window at a time, the encoders' ASCII runs, the store made on first use, and the
// scratch file written over in place.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

using namespace std::string_literals;

TEST(FastPaths, TextBoxSetsCompareCutAndPutTheCaretAtTheEnd) {
  TextBox box("Text1");
  box.maxLength = 2;
  int changes = 0;
  box.onChange = [&] { ++changes; };

  box.setText("éèê");  // cut by characters, not bytes
  EXPECT_EQ(box.text(), "éè");
  EXPECT_EQ(box.caret(), 2u);
  EXPECT_EQ(changes, 1);

  box.setText("éèx");       // the same text once cut: no change
  box.setText(box.text());  // a box set from itself
  EXPECT_EQ(changes, 1);

  box.setCaret(0);
  box.setText("1");
  EXPECT_EQ(box.caret(), 1u);  // a set moves the caret to the end again
  box.applyKey('2');
  EXPECT_EQ(box.text(), "12");
  EXPECT_EQ(changes, 3);

  box.setText("");
  box.applyKey('7');  // typed at the end of the emptied box
  EXPECT_EQ(box.text(), "7");

  TextBox unlimited("Text9");
  const std::string longText(300, 'a');
  unlimited.setText(longText);
  unlimited.setText("b");  // a shorter text after a long one keeps nothing of it
  EXPECT_EQ(unlimited.text(), "b");
  EXPECT_EQ(unlimited.caret(), 1u);
}

TEST(FastPaths, EntryNumbersReadAsTheGeneralReadingReadsThem) {
  for (int n = 0; n <= 9999; ++n) {
    for (const std::string& text :
         {std::to_string(n),
          std::string(4 - std::min<std::size_t>(4, std::to_string(n).size()), '0') +
              std::to_string(n)}) {
      ASSERT_EQ(readInt16(text),
                static_cast<std::int16_t>(roundHalfEven(readNumber(text).value.value())))
          << text;
    }
  }
  EXPECT_EQ(readInt16(" 12"), 12);
  EXPECT_EQ(readInt16("2.5"), 2);
  EXPECT_EQ(readInt16("32767"), 32767);
  for (const char* text : {"32768", "12a", "1 2", ""}) EXPECT_EQ(readInt16(text), std::nullopt);
}

std::vector<std::string> linesOf(const std::string& bytes) {
  fake::MemoryFileSystem fs;
  fs.files()["t.txt"] = bytes;
  TextReader reader(fs, "t.txt");
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(reader.readline());
  return lines;
}

TEST(FastPaths, LineEndsAreFoundAcrossTheSearchWindow) {
  // Line ends on either side of the 256 bytes searched at a time, and a CR LF split by it.
  for (std::size_t length : {254u, 255u, 256u, 257u, 511u, 512u, 600u}) {
    const std::string line(length, 'x');
    EXPECT_EQ(linesOf(line + "\r\nnext"), (std::vector<std::string>{line, "next"})) << length;
    EXPECT_EQ(linesOf(line + "\rnext\r"), (std::vector<std::string>{line, "next"})) << length;
    EXPECT_EQ(linesOf(line + "\nnext\n\n"), (std::vector<std::string>{line, "next", ""})) << length;
    EXPECT_EQ(linesOf(line), (std::vector<std::string>{line})) << length;
  }
  // A file of CR line ends only is read line by line, not searched to its end each time.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "line\r";
  EXPECT_EQ(linesOf(many).size(), 20000u);
}

TEST(FastPaths, EncodersHandleTextAroundTheirEightByteRuns) {
  // Non-ASCII at every place in and around an eight-byte run.
  for (std::size_t at = 0; at < 20; ++at) {
    std::string text(24, 'a');
    text.insert(at, "é");  // in Windows-1252
    const EncodedText w = encodeText(text, TextEncoding::Windows1252);
    ASSERT_EQ(w.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(w.bytes, std::string(at, 'a') + "\xE9" + std::string(24 - at, 'a'));
    EXPECT_EQ(decodeText(w.bytes).text, text);  // not UTF-8, so read back as Windows-1252

    std::string wide = text;
    wide.insert(at, "日");  // not in Windows-1252: written as UTF-8
    EXPECT_EQ(encodeText(wide, TextEncoding::Windows1252).encoding, TextEncoding::Utf8);
    EXPECT_EQ(decodeText(wide).encoding, TextEncoding::Utf8);

    std::string broken(24, 'a');
    broken.insert(at, "\xE6\x97");  // a three-byte character cut short
    EXPECT_EQ(decodeText(broken).encoding, TextEncoding::Windows1252) << at;
    EXPECT_EQ(encodeTextInPlace(broken, TextEncoding::Utf8).bytes,
              encodeText(broken, TextEncoding::Utf8).bytes);
  }
  EXPECT_EQ(encodeTextInPlace("plain é 日", TextEncoding::Utf8).bytes, "plain é 日");
  // Surrogates and overlong forms stay invalid beside the three-byte short cut.
  EXPECT_EQ(decodeText("ab\xED\xA0\x80"s).encoding, TextEncoding::Windows1252);
  EXPECT_EQ(decodeText("ab\xE0\x80\x80"s).encoding, TextEncoding::Windows1252);
  EXPECT_EQ(decodeText("ab\xEF\xBF\xBD"s).encoding, TextEncoding::Utf8);
}

TEST(FastPaths, TimingLinesOfUsualAndOtherWidthsJoinTheirPartsAsTheyAre) {
  EXPECT_EQ(timingLine("01", "02", "03", "004", "05", "06", "07", "008"),
            "01:02:03,004 --> 05:06:07,008");
  EXPECT_EQ(timingLine("1", "02", "03", "4", "", "06", "07", "0089"), "1:02:03,4 --> :06:07,0089");
  EXPECT_EQ(timingLine("é1", "02", "03", "004", "05", "06", "07", "00"),
            "é1:02:03,004 --> 05:06:07,00");
}

TEST(FastPaths, AStoreIsMadeOnFirstUseAndReadsEmptyBefore) {
  const EntryStore fresh;
  EXPECT_TRUE(fresh.at(10000).empty());
  EXPECT_THROW(fresh.at(10001), IndexOutOfRange);

  EntryStore store;
  store.clearFrom(1);  // nothing to clear yet
  EXPECT_THROW(store.edit(-1), IndexOutOfRange);
  const std::uint64_t before = store.revision();
  store.edit(7).EntryText = "seven";
  store.edit(0).EntryText = "zero";
  EXPECT_GT(store.revision(), before);  // the revision tells a changed store
  store.clearFrom(1);
  EXPECT_TRUE(store.at(7).empty());
  EXPECT_EQ(store.at(0).EntryText, "zero");
}

TEST(FastPaths, TheScratchFileIsWrittenOverToItsNewLength) {
  char pattern[] = "/tmp/obrel-scratch-XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  const std::string path = (folder / "Temp.srt").string();
  RealFileSystem fs;
  fs.writeScratch(path, "a much longer text than the next one\r\n");
  fs.writeScratch(path, "short\r\n");
  EXPECT_EQ(fs.readFile(path), "short\r\n");
  fs.writeScratch(path, "");
  EXPECT_EQ(fs.readFile(path), "");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace obrel
