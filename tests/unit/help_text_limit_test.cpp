// The help-text pane's 16 MiB limit, and the file reading that enforces it without
// reading more than the limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "testing/temp_folder.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

constexpr std::size_t kMiB = std::size_t{1024} * 1024;

TEST(HelpTextLimit, SixteenMiBShowsAndOneByteMoreChangesNothing) {
  fake::TestWindow window;
  Form2& form = window.form;
  window.files.files()["/notes/small.txt"] = "small";
  window.files.files()["/notes/limit.txt"] = std::string(16 * kMiB, 'a');
  window.files.files()["/notes/over.txt"] = std::string(16 * kMiB + 1, 'b');

  window.dialogs.choices = {"/notes/small.txt", "/notes/over.txt", "/notes/limit.txt"};
  form.OpenHelpText_Click();
  form.HelpTextOff_Click();
  form.OpenHelpText_Click();
  EXPECT_EQ(form.Text11.text(), "small");
  EXPECT_EQ(form.Text9.height(), 3015);
  EXPECT_TRUE(form.HelpTextOff.checked());
  EXPECT_FALSE(form.HelpTextOn.checked());

  form.OpenHelpText_Click();
  EXPECT_EQ(form.Text11.text().size(), 16 * kMiB);
  EXPECT_EQ(form.Text9.height(), 1610);
  EXPECT_TRUE(form.HelpTextOn.checked());
}

TEST(FileLimit, MemoryFilesAboveTheLimitFail) {
  fake::MemoryFileSystem files;
  files.files()["a"] = "12345";
  EXPECT_EQ(files.readFile("a", 5), "12345");
  EXPECT_THROW(files.readFile("a", 4), FileError);
  EXPECT_EQ(files.readFile("a"), "12345");
}

class RealFileLimit : public ::testing::Test {
 protected:
  fake::TempFolder temp_{"obrel-limit"};
  const std::filesystem::path& folder_ = temp_.path();
  RealFileSystem files_;
};

TEST_F(RealFileLimit, RegularFilesUpToTheLimitAreReadWhole) {
  const std::string path = (folder_ / "a.txt").string();
  std::ofstream(path, std::ios::binary) << "12345";
  EXPECT_EQ(files_.readFile(path, 5), "12345");
  EXPECT_EQ(files_.readFile(path, 100), "12345");
  try {
    files_.readFile(path, 4);
    ADD_FAILURE() << "a file over the limit was read";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "File too large");
  }
  const std::string empty = (folder_ / "empty.txt").string();
  std::ofstream(empty, std::ios::binary).flush();
  EXPECT_EQ(files_.readFile(empty, 0), "");
}

TEST_F(RealFileLimit, DevicesAreNotRead) {
  EXPECT_THROW(files_.readFile("/dev/zero", kMiB), FileError);
  EXPECT_THROW(files_.readFile("/dev/null", kMiB), FileError);
}

}  // namespace
}  // namespace obrel
