// The main window's File > Open > Subtitle File (.srt) through its whole path: generated
// files in memory, and large and hostile files on the real disk (200 MB of random bytes, one
// endless line, an entry whose text is one endless line, 100,000 well-formed entries, UTF-16
// with an odd byte count, NUL bytes; a file over the size limit, a device that never ends and
// a pipe nobody writes). Each of these opens or is refused with the reading's message, memory
// grows by at most three times the file's size, and the program goes on working; how long the
// reading takes is BM_OpenLargeFile's to measure. Built with the sanitizers, the large files
// are smaller and only the outcome is checked: the sanitizers' own memory would say nothing
// about ours.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/text_encoding.h"
#include "testing/large_files.h"
#include "testing/temp_folder.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;
using fake::LargeFile;
using fake::TestWindow;

// Generated files opened on files in memory.
class OpenSrt : public ::testing::Test {
 protected:
  void open(const std::string& bytes) {
    w.files.files()["in.srt"] = bytes;
    fake::openSrt(w, "in.srt");
  }
  TestWindow w;
};

TEST_F(OpenSrt, FullFileLoadsWholeAndSavesBackByteForByte) {
  for (auto flavour :
       {srtgen::Flavour::Ascii, srtgen::Flavour::Windows1252, srtgen::Flavour::Utf8}) {
    const std::string bytes = srtgen::generate(9999, flavour);
    open(bytes);
    EXPECT_TRUE(w.prompts.shown.empty() || w.prompts.shown.back().icon == Icon::Question);
    EXPECT_EQ(w.form.CurrentIndex, 9999);
    EXPECT_EQ(w.form.Text10.text(), "9999");
    EXPECT_TRUE(w.form.document().store.at(9999).present());
    EXPECT_FALSE(w.form.document().store.at(10000).present());
    w.dialogs.choices.push_back("out.srt");
    w.form.SaveAs_Click();
    EXPECT_EQ(w.files.files()["out.srt"], bytes);
  }
}

TEST_F(OpenSrt, ReadingEndsAfterEntry9999AndNeverWritesOverEntry1000) {
  open(srtgen::generate(10001, srtgen::Flavour::Ascii));
  ASSERT_FALSE(w.prompts.shown.empty());
  EXPECT_EQ(w.prompts.shown.back().text,
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(w.prompts.shown.back().icon, Icon::Exclamation);
  EXPECT_TRUE(w.form.document().store.at(9999).present());
  EXPECT_TRUE(w.form.document().store.at(10000).empty());
  const std::string reference = srtgen::generate(1000, srtgen::Flavour::Ascii);
  const std::size_t timing = reference.rfind("1000\r\n") + 6;
  EXPECT_EQ(w.form.document().store.at(1000).EntryTiming, reference.substr(timing, 29));
  EXPECT_EQ(w.form.CurrentIndex, 9999);
  EXPECT_TRUE(w.form.document().partialLoad);
}

TEST_F(OpenSrt, AFileNumberedFromZeroStopsAtSlot9999) {
  open("0\r\n00:00:00,000 --> 00:00:00,500\r\nAd\r\n\r\n" +
       srtgen::generate(9999, srtgen::Flavour::Ascii));
  ASSERT_FALSE(w.prompts.shown.empty());
  EXPECT_EQ(w.prompts.shown.back().text,
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(w.form.document().store.at(1).EntryText, "Ad");
  EXPECT_FALSE(w.form.document().store.at(0).present());
  EXPECT_TRUE(w.form.document().store.at(9999).present());
  EXPECT_TRUE(w.form.document().store.at(10000).empty());
  EXPECT_EQ(w.form.Text10.text(), "9999");
}

TEST_F(OpenSrt, LastEntryTextStaysInTheScratchFile) {
  open(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:00:03,000 --> "
      "00:00:04,000\r\nB\r\nC\r\n");
  EXPECT_EQ(w.files.files()["/program/Support/Temp.srt"], "B\r\nC\r\n");
}

TEST_F(OpenSrt, UnwritableScratchFileDoesNotStopTheLoad) {
  w.faulty.failNextWriteAfter(0);
  open(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n");
  EXPECT_EQ(w.form.document().store.at(2).EntryText, "B");
  EXPECT_EQ(w.files.files().count("/program/Support/Temp.srt"), 0u);
  EXPECT_TRUE(w.prompts.shown.empty());
}

TEST_F(OpenSrt, AnEntryPastTheLastSlotIsLeftUnreadNotNumberedAgain) {
  const std::string t = "\r\n00:00:01,000 --> 00:00:02,000\r\n";
  open("9998" + t + "A\r\n\r\n9999" + t + "B\r\n\r\n9999" + t + "C\r\n");
  ASSERT_EQ(w.prompts.shown.size(), 1u);
  EXPECT_EQ(w.prompts.shown[0].text,
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(w.form.document().store.at(9999).EntryText, "B");
  EXPECT_TRUE(w.form.document().store.at(10000).empty());
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasured = false;
constexpr std::size_t kSize = std::size_t{8} << 20;
#else
constexpr bool kMeasured = true;
constexpr std::size_t kSize = std::size_t{200} << 20;
#endif
constexpr double kMB = 1024.0 * 1024.0;

const char* const kRefused = "This file could not be read as a subtitle file.";

// A value of /proc/self/status, in bytes.
std::size_t statusBytes(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stoull(line.substr(std::string(key).size())) * 1024;
  }
  return 0;
}

// Starts the peak of resident memory again from the present.
bool resetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// Large and hostile files opened on the real disk.
class LargeFiles : public ::testing::Test {
 protected:
  void SetUp() override { path_ = (folder_ / "big.srt").string(); }
  void write(LargeFile kind) { ASSERT_TRUE(fake::writeLargeFile(path_, kind, kSize)); }

  // Opens the file through File > Open and checks the memory bound; returns the message
  // shown, or "" when there was none.
  std::string open(const char* what, const std::string& path) {
    prompts_.shown.clear();
    struct stat st {};
    const std::size_t size = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                                 ? static_cast<std::size_t>(st.st_size)
                                 : 0;
    const std::size_t before = statusBytes("VmRSS:");
    const bool peakReset = resetPeak();
    fake::openSrt(window_, path);
    const std::size_t peak = statusBytes("VmHWM:");
    const std::size_t grew = peak > before ? peak - before : 0;

    std::string message;
    for (const fake::MessageBoxShown& s : prompts_.shown) {
      if (s.icon != Icon::Question) message = s.text;
    }
    std::printf("[ large    ] %-34s %7.1f MB  %-8s memory +%6.1f MB (%.2fx)%s\n", what, size / kMB,
                form->document().CurrentFile == path ? "opened" : "refused", grew / kMB,
                size ? grew / static_cast<double>(size) : 0.0,
                peakReset ? "" : " (peak not reset)");
    if (kMeasured && size > 0) {
      EXPECT_LE(grew, 3 * size) << what;
    }
    return message;
  }
  std::string open(LargeFile kind) { return open(fake::largeFileName(kind), path_); }

  // The program goes on working: an entry typed, committed, saved and read back.
  void expectStillWorking() {
    fake::commitEntry(*form, 1, "Still here", {"00", "00", "00", "000", "00", "00", "09", "000"});
    const std::string saved = (folder_ / "after.srt").string();
    dialogs_.choices = {saved};
    form->SaveAs_Click();
    ASSERT_TRUE(form->saveSucceeded);
    const std::string text = decodeText(files_.readFile(saved)).text;
    const std::string entry = "1\r\n00:00:00,000 --> 00:00:09,000\r\nStill here\r\n\r\n";
    EXPECT_EQ(text.substr(0, entry.size()), entry);
  }

  fake::TempFolder programFolder_{"obrel-large"};
  const fs::path& folder_ = programFolder_.path();
  std::string path_;
  fake::DiskWindow window_{folder_.string()};
  fake::QueuedPrompts& prompts_ = window_.prompts;
  fake::QueuedDialogs& dialogs_ = window_.dialogs;
  RealFileSystem& files_ = window_.files;
  Form2* form = &window_.form;
};

TEST_F(LargeFiles, RandomBytesAreRefused) {
  write(LargeFile::RandomBytes);
  EXPECT_EQ(open(LargeFile::RandomBytes), kRefused);
  expectStillWorking();
}

TEST_F(LargeFiles, OneEndlessLineIsRefused) {
  write(LargeFile::EndlessLine);
  EXPECT_EQ(open(LargeFile::EndlessLine), kRefused);
  expectStillWorking();
}

TEST_F(LargeFiles, AnEntryWhoseTextIsOneEndlessLineOpens) {
  write(LargeFile::EndlessEntryText);
  EXPECT_EQ(open(LargeFile::EndlessEntryText), "");
  EXPECT_EQ(form->document().CurrentFile, path_);
  EXPECT_EQ(form->document().store.at(1).EntryText.size(), kSize - fake::kEndlessEntryHead.size());
  expectStillWorking();
}

TEST_F(LargeFiles, HundredThousandEntriesLoadUpTo9999) {
  write(LargeFile::ManyEntries);
  EXPECT_EQ(open(LargeFile::ManyEntries),
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(form->document().store.at(9999).EntryText, fake::manyEntriesText(kSize, 9999));
  EXPECT_TRUE(form->document().store.at(10000).empty());
  expectStillWorking();
}

TEST_F(LargeFiles, Utf16WithAnOddByteCountOpens) {
  write(LargeFile::Utf16OddBytes);
  ASSERT_EQ(fs::file_size(path_) % 2, 1u);
  const std::string message = open(LargeFile::Utf16OddBytes);
  EXPECT_EQ(form->document().CurrentFile, path_);
  EXPECT_EQ(form->document().encoding, TextEncoding::Utf16LE);
  // The stray byte reads as U+FFFD on a line of its own after the last entry's empty line:
  // a line of that entry's text, nothing left unread.
  EXPECT_EQ(form->document().store.at(5000).EntryText,
            fake::utf16EntryText(kSize) + "\r\n\r\n\xEF\xBF\xBD");
  EXPECT_EQ(message, "");
  expectStillWorking();
}

TEST_F(LargeFiles, NulBytesAreRefused) {
  write(LargeFile::NulBytes);
  EXPECT_EQ(open(LargeFile::NulBytes), kRefused);
  expectStillWorking();
}

TEST_F(LargeFiles, FilesOverTheLimitDevicesAndPipesAreRefusedAtOnce) {
  // A sparse file larger than any subtitle file is refused before a byte is read.
  { std::ofstream(path_, std::ios::binary).flush(); }
  fs::resize_file(path_, std::size_t{300} << 20);
  EXPECT_EQ(open("300 MB, over the limit", path_), kRefused);

  // A device without end is read up to the limit only.
  EXPECT_EQ(open("/dev/zero", "/dev/zero"), kRefused);

  // A pipe that nobody writes: no wait for a writer that never comes.
  const std::string pipe = (folder_ / "pipe.srt").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(open("a pipe nobody writes", pipe), kRefused);
  expectStillWorking();
}

}  // namespace
}  // namespace obrel
