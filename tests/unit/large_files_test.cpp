// Large and hostile files opened through the main window on the real disk: 200 MB of random
// bytes, one endless line, an entry whose text is one endless line, 100,000 well-formed
// entries, UTF-16 with an odd byte count, NUL bytes; a file over the size limit, a device
// that never ends and a pipe nobody writes. Each opens or is refused with the reading's
// message within 5 seconds, memory grows by at most three times the file's size, and the
// program goes on working. Built with the sanitizers, the files are smaller and only the
// outcome is checked: the sanitizers' own memory and time would say nothing about ours.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include "platform/text_encoding.h"
#include "testing/temp_folder.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;
using fake::QueuedDialogs;
using fake::QueuedPrompts;

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

class LargeFiles : public ::testing::Test {
 protected:
  void SetUp() override { path_ = (folder_ / "big.srt").string(); }
  // Writes the file a piece at a time: next(piece) fills piece and returns false at the end.
  void write(const std::function<bool(std::string&)>& next) {
    std::ofstream out(path_, std::ios::binary);
    std::string piece;
    while (next(piece)) out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    ASSERT_TRUE(out.flush());
  }

  // Opens the file through File > Open and checks the bounds; returns the message shown, or
  // "" when there was none.
  std::string open(const char* what, const std::string& path) {
    prompts_.shown.clear();
    prompts_.answers = {Answer::No};
    dialogs_.choices = {path};
    struct stat st {};
    const std::size_t size = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                                 ? static_cast<std::size_t>(st.st_size)
                                 : 0;
    const std::size_t before = statusBytes("VmRSS:");
    const bool peakReset = resetPeak();
    const auto start = std::chrono::steady_clock::now();
    form->OpenSrt_Click();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t peak = statusBytes("VmHWM:");
    const std::size_t grew = peak > before ? peak - before : 0;

    std::string message;
    for (const fake::MessageBoxShown& s : prompts_.shown) {
      if (s.icon != Icon::Question) message = s.text;
    }
    std::printf("[ large    ] %-34s %7.1f MB  %-8s %5.2f s  memory +%6.1f MB (%.2fx)%s\n", what,
                size / kMB, form->document().CurrentFile == path ? "opened" : "refused", seconds,
                grew / kMB, size ? grew / static_cast<double>(size) : 0.0,
                peakReset ? "" : " (peak not reset)");
    if (kMeasured) {
      EXPECT_LT(seconds, 5.0) << what;
      if (size > 0) {
        EXPECT_LE(grew, 3 * size) << what;
      }
    }
    return message;
  }

  // The program goes on working: an entry typed, committed, saved and read back.
  void expectStillWorking() {
    form->setIndexBox("1");
    for (TextBox* box : {&form->Text1, &form->Text2, &form->Text3, &form->Text5, &form->Text6}) {
      box->setText("00");
    }
    form->Text7.setText("09");
    form->Text4.setText("000");
    form->Text8.setText("000");
    form->Text9.setText("Still here");
    form->Command3_Click();
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
  QueuedPrompts& prompts_ = window_.prompts;
  QueuedDialogs& dialogs_ = window_.dialogs;
  RealFileSystem& files_ = window_.files;
  Form2* form = &window_.form;
};

// Pieces of about a megabyte until size bytes are written.
std::function<bool(std::string&)> upTo(std::size_t size, std::function<void(std::string&)> fill) {
  auto written = std::make_shared<std::size_t>(0);
  return [=](std::string& piece) {
    if (*written >= size) return false;
    fill(piece);
    if (piece.size() > size - *written) piece.resize(size - *written);
    *written += piece.size();
    return true;
  };
}

TEST_F(LargeFiles, RandomBytesAreRefused) {
  std::mt19937_64 random(11);
  write(upTo(kSize, [&](std::string& piece) {
    piece.resize(1 << 20);
    for (std::size_t i = 0; i < piece.size(); i += 8) {
      const std::uint64_t r = random();
      std::memcpy(piece.data() + i, &r, 8);
    }
    piece[0] = 'x';  // no number in the first line, whatever the bytes
  }));
  EXPECT_EQ(open("random bytes", path_), kRefused);
  expectStillWorking();
}

TEST_F(LargeFiles, OneEndlessLineIsRefused) {
  write(upTo(kSize, [](std::string& piece) {
    piece.clear();
    while (piece.size() < (1 << 20)) piece += "an endless line without end ";
  }));
  EXPECT_EQ(open("one endless line", path_), kRefused);
  expectStillWorking();
}

TEST_F(LargeFiles, AnEntryWhoseTextIsOneEndlessLineOpens) {
  const std::string head = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
  bool first = true;
  write(upTo(kSize, [&](std::string& piece) {
    piece = first ? head : "";
    first = false;
    while (piece.size() < (1 << 20)) piece += "an endless line without end ";
  }));
  EXPECT_EQ(open("an entry text of one endless line", path_), "");
  EXPECT_EQ(form->document().CurrentFile, path_);
  EXPECT_EQ(form->document().store.at(1).EntryText.size(), kSize - head.size());
  expectStillWorking();
}

TEST_F(LargeFiles, HundredThousandEntriesLoadUpTo9999) {
  // Long texts make the entries fill the whole size.
  const std::size_t textLength = kSize / 100000 - 40;
  int k = 0;
  write([&](std::string& piece) {
    if (k == 100000) return false;
    piece.clear();
    for (int n = 0; n < 100 && k < 100000; ++n) {
      ++k;
      piece += std::to_string(k) + "\r\n00:00:01,000 --> 00:00:02,000\r\n";
      piece += std::string(textLength, static_cast<char>('a' + k % 26)) + "\r\n\r\n";
    }
    return true;
  });
  EXPECT_EQ(open("100,000 well-formed entries", path_),
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(form->document().store.at(9999).EntryText,
            std::string(textLength, static_cast<char>('a' + 9999 % 26)));
  EXPECT_TRUE(form->document().store.at(10000).empty());
  expectStillWorking();
}

TEST_F(LargeFiles, Utf16WithAnOddByteCountOpens) {
  // 5000 entries of long texts in UTF-16, and one stray byte at the end.
  const std::string text(kSize / 2 / 5000 - 40, 'w');
  int k = 0;
  bool stray = false;
  write([&](std::string& piece) {
    if (k == 5000) {
      if (stray) return false;
      stray = true;
      piece.assign(1, 'A');
      return true;
    }
    std::string utf8;
    for (int n = 0; n < 50 && k < 5000; ++n) {
      ++k;
      utf8 += std::to_string(k);
      utf8 += "\r\n00:00:01,000 --> 00:00:02,000\r\n";
      utf8 += text;
      utf8 += "\r\n\r\n";
    }
    piece = encodeText(utf8, TextEncoding::Utf16LE).bytes;
    if (k > 50) piece.erase(0, 2);  // one mark, at the start
    return true;
  });
  ASSERT_EQ(fs::file_size(path_) % 2, 1u);
  const std::string message = open("UTF-16 with an odd byte count", path_);
  EXPECT_EQ(form->document().CurrentFile, path_);
  EXPECT_EQ(form->document().encoding, TextEncoding::Utf16LE);
  // The stray byte reads as U+FFFD on a line of its own after the last entry's empty line:
  // a line of that entry's text, nothing left unread.
  EXPECT_EQ(form->document().store.at(5000).EntryText, text + "\r\n\r\n\xEF\xBF\xBD");
  EXPECT_EQ(message, "");
  expectStillWorking();
}

TEST_F(LargeFiles, NulBytesAreRefused) {
  write(upTo(kSize, [](std::string& piece) { piece.assign(1 << 20, '\0'); }));
  EXPECT_EQ(open("NUL bytes", path_), kRefused);
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
