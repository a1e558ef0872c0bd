#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/text_encoding.h"
#include "testing/faulty_file_system.h"
#include "testing/memory_file_system.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

using namespace std::string_literals;  // "..."s keeps NUL bytes

const std::string kMark = "\xEF\xBB\xBF";

TextReader readerOf(const std::string& bytes) {
  fake::MemoryFileSystem fs;
  fs.files()["in.srt"] = bytes;
  return TextReader(fs, "in.srt");
}

std::vector<std::string> linesOf(const std::string& bytes) {
  TextReader reader = readerOf(bytes);
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(reader.readline());
  return lines;
}

struct RoundTrip {
  std::string bytes;
  std::vector<std::string> lines;
  TextEncoding readAs;
  TextEncoding writtenAs;
};

// Reads every line and writes them back with CR LF, as the program saves a file it opened.
RoundTrip roundTrip(const std::string& bytes) {
  fake::MemoryFileSystem fs;
  fs.files()["in.srt"] = bytes;
  TextReader reader(fs, "in.srt");
  TextWriter writer(fs, "out.srt", reader.encoding());
  RoundTrip result{{}, {}, reader.encoding(), {}};
  while (!reader.atEnd()) {
    result.lines.push_back(reader.readline());
    writer.writeline(result.lines.back());
  }
  writer.Close();
  result.bytes = fs.files()["out.srt"];
  result.writtenAs = writer.writtenEncoding();
  return result;
}

TEST(EncodingRoundTrip, AsciiIsUtf8ByteForByte) {
  const std::string bytes = "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n";
  const RoundTrip rt = roundTrip(bytes);
  EXPECT_EQ(rt.readAs, TextEncoding::Utf8);
  EXPECT_EQ(rt.bytes, bytes);
}

TEST(EncodingRoundTrip, Utf8WithoutMark) {
  const RoundTrip rt = roundTrip("Café ✓ 😀\r\n");
  EXPECT_EQ(rt.readAs, TextEncoding::Utf8);
  EXPECT_EQ(rt.lines, std::vector<std::string>{"Café ✓ 😀"});
  EXPECT_EQ(rt.bytes, "Café ✓ 😀\r\n");
}

TEST(EncodingRoundTrip, Utf8WithMark) {
  const RoundTrip rt = roundTrip(kMark + "Café\r\n");
  EXPECT_EQ(rt.readAs, TextEncoding::Utf8Bom);
  EXPECT_EQ(rt.lines, std::vector<std::string>{"Café"});
  EXPECT_EQ(rt.bytes, kMark + "Café\r\n");
}

TEST(EncodingRoundTrip, Utf16LittleEndianWithMark) {
  const std::string bytes =
      "\xFF\xFE"
      "A\0\xE9\0\x3D\xD8\x00\xDE\r\0\n\0"s;  // "Aé😀" CR LF
  const RoundTrip rt = roundTrip(bytes);
  EXPECT_EQ(rt.readAs, TextEncoding::Utf16LE);
  EXPECT_EQ(rt.lines, std::vector<std::string>{"Aé😀"});
  EXPECT_EQ(rt.bytes, bytes);
}

TEST(EncodingRoundTrip, Utf16BigEndianWithMark) {
  const std::string bytes =
      "\xFE\xFF"
      "\0A\0\xE9\xD8\x3D\xDE\x00\0\r\0\n"s;
  const RoundTrip rt = roundTrip(bytes);
  EXPECT_EQ(rt.readAs, TextEncoding::Utf16BE);
  EXPECT_EQ(rt.lines, std::vector<std::string>{"Aé😀"});
  EXPECT_EQ(rt.bytes, bytes);
}

TEST(EncodingRoundTrip, Utf32WithMarkEitherOrder) {
  // "Aé😀" CR LF; the little-endian mark begins with UTF-16's.
  for (const auto& [bytes, encoding] : {std::pair{"\xFF\xFE\0\0"
                                                  "A\0\0\0"
                                                  "\xE9\0\0\0"
                                                  "\x00\xF6\x01\0"
                                                  "\r\0\0\0"
                                                  "\n\0\0\0"s,
                                                  TextEncoding::Utf32LE},
                                        std::pair{"\0\0\xFE\xFF"
                                                  "\0\0\0A"
                                                  "\0\0\0\xE9"
                                                  "\0\x01\xF6\x00"
                                                  "\0\0\0\r"
                                                  "\0\0\0\n"s,
                                                  TextEncoding::Utf32BE}}) {
    const RoundTrip rt = roundTrip(bytes);
    EXPECT_EQ(rt.readAs, encoding);
    EXPECT_EQ(rt.lines, std::vector<std::string>{"Aé😀"});
    EXPECT_EQ(rt.bytes, bytes);
  }
  // Broken groups read as U+FFFD: a surrogate, a number past U+10FFFF, a short last group.
  EXPECT_EQ(decodeText("\xFF\xFE\0\0"
                       "\x00\xD8\0\0"
                       "\0\0\x11\0"
                       "A\0"s)
                .text,
            "\uFFFD\uFFFD\uFFFD");
}

TEST(EncodingRoundTrip, Windows1252WithEveryHighByte) {
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
  bytes += "\r\n";
  const RoundTrip rt = roundTrip(bytes);
  EXPECT_EQ(rt.readAs, TextEncoding::Windows1252);
  EXPECT_EQ(rt.writtenAs, TextEncoding::Windows1252);
  ASSERT_EQ(rt.lines.size(), 1u);
  EXPECT_TRUE(rt.lines[0].starts_with("€\u0081‚ƒ")) << "0x81 stands for U+0081";
  EXPECT_TRUE(rt.lines[0].ends_with("ýþÿ"));
  EXPECT_EQ(rt.bytes, bytes);
}

TEST(EncodingRoundTrip, FileOfTheMarkAloneKeepsIt) {
  const RoundTrip rt = roundTrip(kMark);
  EXPECT_EQ(rt.readAs, TextEncoding::Utf8Bom);
  EXPECT_TRUE(rt.lines.empty());
  EXPECT_EQ(rt.bytes, kMark);
  EXPECT_EQ(encodeText("", TextEncoding::Utf16LE).bytes, "\xFF\xFE");
  EXPECT_EQ(encodeText("", TextEncoding::Utf8).bytes, "");
}

TEST(Windows1252Writing, CharactersItHasAreOneByteEach) {
  fake::MemoryFileSystem fs;
  TextWriter writer(fs, "out.srt", TextEncoding::Windows1252);
  writer.writeline("€ café");
  writer.Close();
  EXPECT_EQ(writer.writtenEncoding(), TextEncoding::Windows1252);
  EXPECT_EQ(fs.files()["out.srt"], "\x80 caf\xE9\r\n");
}

TEST(Windows1252Writing, CharacterItLacksMakesTheWholeFileUtf8) {
  fake::MemoryFileSystem fs;
  TextWriter writer(fs, "out.srt", TextEncoding::Windows1252);
  writer.writeline("café");
  writer.writeline("→ Ω");
  writer.Close();
  EXPECT_EQ(writer.writtenEncoding(), TextEncoding::Utf8);
  EXPECT_EQ(fs.files()["out.srt"], "café\r\n→ Ω\r\n");
}

TEST(Windows1252Writing, OnlyTheFiveUndefinedControlCharactersFit) {
  EXPECT_EQ(writableEncoding("\u0081\u008D\u008F\u0090\u009D", TextEncoding::Windows1252),
            TextEncoding::Windows1252);
  EXPECT_EQ(writableEncoding("\u0080", TextEncoding::Windows1252), TextEncoding::Utf8);
  EXPECT_EQ(writableEncoding("\u009F", TextEncoding::Windows1252), TextEncoding::Utf8);
}

// The encoders take ASCII eight bytes at a time, and must give what they give byte by byte.
TEST(Windows1252Writing, EncodersHandleTextAroundTheirEightByteRuns) {
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

TEST(LenientDecoding, Utf16OddByteCountEndsInReplacement) {
  const DecodedText d = decodeText(
      "\xFF\xFE"
      "A\0B"s);
  EXPECT_EQ(d.encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(d.text, "A\uFFFD");
}

TEST(LenientDecoding, Utf16UnpairedSurrogatesBecomeReplacements) {
  // A high surrogate before 'A', a lone low one, and a high one cut off by the end.
  const DecodedText d = decodeText(
      "\xFF\xFE"
      "\x3D\xD8"
      "A\0"
      "\x00\xDE"
      "\x3D\xD8"s);
  EXPECT_EQ(d.text, "\uFFFDA\uFFFD\uFFFD");
}

TEST(LenientDecoding, BrokenUtf8AfterMarkBecomesReplacements) {
  const DecodedText d = decodeText(kMark +
                                   "a\xE2\x82"
                                   "b\xFF");
  EXPECT_EQ(d.encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(d.text,
            "a\uFFFD"
            "b\uFFFD");
}

TEST(LenientDecoding, EncodedSurrogateOverlongAndTooLargeAreNotUtf8) {
  EXPECT_EQ(decodeText("\xED\xA0\x80").encoding, TextEncoding::Windows1252);
  EXPECT_EQ(decodeText("\xC0\xAF").encoding, TextEncoding::Windows1252);
  EXPECT_EQ(decodeText("\xF4\x90\x80\x80").encoding, TextEncoding::Windows1252);
}

TEST(LenientDecoding, NonAsciiIsNoticedAtEveryOffsetOfALongAsciiRun) {
  for (std::size_t offset = 0; offset < 20; ++offset) {
    const std::string ascii(offset, 'a');
    const std::string tail(10, 'b');
    EXPECT_EQ(decodeText(ascii + "\xE9" + tail).encoding, TextEncoding::Windows1252) << offset;
    EXPECT_EQ(decodeText(ascii + "✓" + tail).encoding, TextEncoding::Utf8) << offset;
  }
}

TEST(TextReaderLines, EndAtLfCrLfAndLoneCr) {
  EXPECT_EQ(linesOf("a\nb\r\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TextReaderLines, LastLineEndStartsNoLine) {
  for (const char* bytes : {"a\n", "a\r\n", "a\r"}) {
    EXPECT_EQ(linesOf(bytes), std::vector<std::string>{"a"}) << bytes;
  }
}

TEST(TextReaderLines, EmptyLinesAreKept) {
  EXPECT_EQ(linesOf("\r\n\n\r"), (std::vector<std::string>{"", "", ""}));
}

// The reader searches for line ends a window of 256 bytes at a time.
TEST(TextReaderLines, LineEndsAreFoundAcrossTheSearchWindow) {
  // Line ends on either side of the bytes searched at a time, and a CR LF split by them.
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

TEST(TextReaderRead, CountsCrAndLfAsCharacters) {
  TextReader reader = readerOf("ab\r\ncd");
  EXPECT_EQ(reader.read(3), "ab\r");
  EXPECT_EQ(reader.read(2), "\nc");
  EXPECT_EQ(reader.readAll(), "d");
}

TEST(TextReaderRead, ReadlineAfterReadStoppingInsideCrLfGivesEmptyLine) {
  TextReader reader = readerOf("ab\r\ncd");
  reader.read(3);
  EXPECT_EQ(reader.readline(), "");
  EXPECT_EQ(reader.readline(), "cd");
}

TEST(TextReaderRead, CountsMultiByteCharactersAsOne) {
  TextReader reader = readerOf("é✓😀x");
  EXPECT_EQ(reader.read(2), "é✓");
  EXPECT_EQ(reader.read(5), "😀x");
  EXPECT_TRUE(reader.atEnd());
}

TEST(EndOfFile, ReadlineAtEnd) {
  TextReader reader = readerOf("a\r\n");
  reader.readline();
  EXPECT_THROW(reader.readline(), EndOfFile);
}

TEST(EndOfFile, ReadAtEnd) {
  TextReader reader = readerOf("ab");
  reader.read(2);
  EXPECT_THROW(reader.read(1), EndOfFile);
}

TEST(EndOfFile, ReadAllOnEmptyFile) {
  TextReader reader = readerOf("");
  EXPECT_THROW(reader.readAll(), EndOfFile);
}

TEST(EndOfFile, ReadAllOnExhaustedStream) {
  TextReader reader = readerOf("a\r\nb");
  reader.readline();
  EXPECT_EQ(reader.readAll(), "b");
  EXPECT_THROW(reader.readAll(), EndOfFile);
}

TEST(FileErrors, MissingFile) {
  fake::MemoryFileSystem memory;
  EXPECT_THROW(TextReader(memory, "none.srt"), FileError);
  RealFileSystem real;
  EXPECT_THROW(TextReader(real, "/nonexistent-folder/none.srt"), FileError);
}

TEST(FileErrors, EmptyPath) {
  fake::MemoryFileSystem memory;
  EXPECT_THROW(TextReader(memory, ""), FileError);
  EXPECT_THROW(TextWriter(memory, "", TextEncoding::Utf8), FileError);
  RealFileSystem real;
  EXPECT_THROW(real.readFile(""), FileError);
  EXPECT_THROW(real.replaceFile("", "x"), FileError);
}

TEST(FileErrors, ReadingAfterClose) {
  TextReader reader = readerOf("a");
  reader.Close();
  EXPECT_TRUE(reader.atEnd());
  EXPECT_THROW(reader.readline(), FileError);
}

TEST(TextWriterReplacement, WriterNeverClosedLeavesFileAlone) {
  fake::MemoryFileSystem fs;
  fs.files()["a.srt"] = "old";
  {
    TextWriter writer(fs, "a.srt", TextEncoding::Utf8);
    writer.writeline("new");
  }
  EXPECT_EQ(fs.files()["a.srt"], "old");
}

TEST(TextWriterReplacement, FailedCloseLeavesFileAndThrowsFileError) {
  fake::MemoryFileSystem memory;
  fake::FaultyFileSystem fs(memory);
  memory.files()["a.srt"] = "old";
  fs.failNextWriteAfter(2);
  TextWriter writer(fs, "a.srt", TextEncoding::Utf8);
  writer.writeline("new");
  EXPECT_THROW(writer.Close(), FileError);
  EXPECT_EQ(memory.files()["a.srt"], "old");
}

TEST(FaultyFileSystem, FailsOnlyTheNextWriteAndOnlyPastItsLimit) {
  fake::MemoryFileSystem memory;
  fake::FaultyFileSystem fs(memory);
  memory.files()["a.srt"] = "old";
  fs.failNextWriteAfter(4);
  EXPECT_THROW(fs.replaceFile("a.srt", "hello"), FileError);
  EXPECT_EQ(memory.files()["a.srt"], "old");
  fs.replaceFile("a.srt", "hello");
  EXPECT_EQ(memory.files()["a.srt"], "hello");
  fs.failNextWriteAfter(5);
  fs.replaceFile("b.srt", "hello");
  EXPECT_EQ(memory.files()["b.srt"], "hello");
}

TEST_F(RealFileSystemTest, ReadsEveryByte) {
  std::string bytes = "\0\xFF\r\n"s;
  for (int i = 0; i < 100000; ++i) bytes.push_back(static_cast<char>(i * 7));
  put("a.srt", bytes);
  put("empty.srt", "");
  EXPECT_EQ(fs_.readFile(path("a.srt")), bytes);
  EXPECT_EQ(fs_.readFile(path("empty.srt")), "");
  EXPECT_THROW(fs_.readFile(folder_.string()), FileError);
}

TEST_F(RealFileSystemTest, ReplacesAndLeavesNoTemporaryFile) {
  put("a.srt", "old");
  fs_.replaceFile(path("a.srt"), "new");
  EXPECT_EQ(fs_.readFile(path("a.srt")), "new");
  EXPECT_EQ(entries(), std::vector<std::string>{"a.srt"});
}

TEST_F(RealFileSystemTest, NewFileGetsModeLessUmask) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  fs_.replaceFile(path("new.srt"), "x");
  EXPECT_EQ(modeOf("new.srt"), 0666 & ~mask);
}

TEST_F(RealFileSystemTest, KeepsPermissionBits) {
  put("a.srt", "old");
  ::chmod(path("a.srt").c_str(), 0640);
  fs_.replaceFile(path("a.srt"), "new");
  EXPECT_EQ(modeOf("a.srt"), 0640u);
}

TEST_F(RealFileSystemTest, WriteFaultLeavesOldFileAndNoTemporaryFile) {
  const std::string old = "1\r\n00:00:01,000 --> 00:00:02,000\r\nold\r\n";
  const std::string replacement(200000, 'n');
  put("a.srt", old);
  for (std::size_t at :
       {std::size_t{0}, std::size_t{1}, std::size_t{65536}, replacement.size() - 1}) {
    const FileSizeLimit limit(at);
    EXPECT_THROW(fs_.replaceFile(path("a.srt"), replacement), FileError) << at;
    EXPECT_EQ(fs_.readFile(path("a.srt")), old) << at;
    EXPECT_EQ(entries(), std::vector<std::string>{"a.srt"}) << at;
  }
  fs_.replaceFile(path("a.srt"), replacement);
  EXPECT_EQ(fs_.readFile(path("a.srt")), replacement);
}

TEST_F(RealFileSystemTest, ReadOnlyFileIsNeverReplaced) {
  put("a.srt", "old");
  ::chmod(path("a.srt").c_str(), 0444);
  EXPECT_THROW(fs_.replaceFile(path("a.srt"), "new"), FileError);
  EXPECT_EQ(fs_.readFile(path("a.srt")), "old");
  EXPECT_EQ(entries(), std::vector<std::string>{"a.srt"});
}

TEST_F(RealFileSystemTest, MissingFolderOrFolderTargetFails) {
  std::filesystem::create_directory(folder_ / "sub");
  EXPECT_THROW(fs_.replaceFile(path("none/a.srt"), "x"), FileError);
  EXPECT_THROW(fs_.replaceFile(path("sub"), "x"), FileError);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "sub"));
  EXPECT_EQ(entries(), std::vector<std::string>{"sub"});
}

TEST_F(RealFileSystemTest, SymbolicLinkIsWrittenThrough) {
  put("real.srt", "old");
  std::filesystem::create_symlink("real.srt", folder_ / "link.srt");
  fs_.replaceFile(path("link.srt"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder_ / "link.srt"));
  EXPECT_EQ(fs_.readFile(path("real.srt")), "new");
}

TEST_F(RealFileSystemTest, Windows1252FileSavedInPlaceIsUnchanged) {
  const std::string bytes = "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9 \x80\x81\x9D\r\n\r\n";
  put("a.srt", bytes);
  TextReader reader(fs_, path("a.srt"));
  TextWriter writer(fs_, path("a.srt"), reader.encoding());
  while (!reader.atEnd()) writer.writeline(reader.readline());
  writer.Close();
  EXPECT_EQ(fs_.readFile(path("a.srt")), bytes);
}

}  // namespace
}  // namespace obrel
