// Saves that fail, on the real disk: a write that breaks off at each byte in turn (the disk
// filling up), a file without write permission and a device that takes nothing (a link to
// /dev/full). Each time the user
// is told, the file keeps every byte, no temporary file is left, the document is intact, and
// the save prompt's Yes then stops New, Open and Exit. Read-only folders need a user other
// than root: tests/scenarios/save_faults.drive covers them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>

#include "testing/temp_folder.h"
#include "testing/test_window.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;
using fake::QueuedDialogs;
using fake::QueuedPrompts;

const std::string kOld =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOld one\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nOld two\r\n\r\n";

using fake::readFile;

std::set<std::string> names(const fs::path& folder) {
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename());
  return found;
}

class SaveFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (folder_ / "doc.srt").string();
    std::ofstream(path_, std::ios::binary) << kOld;

    // The document: the file opened, one entry changed and a new one added.
    dialogs_.choices = {path_};
    form_->OpenSrt_Click();
    form_->setIndexBox("1");
    form_->Text9.setText("Changed one");
    form_->Command3_Click();
    form_->setIndexBox("3");
    for (TextBox* box : {&form_->Text1, &form_->Text2, &form_->Text5, &form_->Text6})
      box->setText("0");
    form_->Text3.setText("5");
    form_->Text7.setText("6");
    form_->Text4.setText("0");
    form_->Text8.setText("0");
    form_->Text9.setText("New three");
    form_->Command3_Click();
    ASSERT_TRUE(prompts_.shown.empty());
    for (int k = 0; k <= 4; ++k) document_[k] = form_->document().store.at(k);
    index_ = form_->CurrentIndex;
    before_ = names(folder_);
  }

  // The state after any failed save: one message naming the path and the reason, the file
  // as it was, no file added beside it, the document and the entry shown as they were.
  void expectNothingLost(const std::string& path, const std::string& reason, const fs::path& file) {
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].text, "The file could not be saved.\r\n" + path + "\r\n" + reason);
    EXPECT_EQ(prompts_.shown[0].icon, Icon::Critical);
    prompts_.shown.clear();
    EXPECT_EQ(readFile(file), kOld);
    EXPECT_EQ(names(folder_), before_);
    for (int k = 0; k <= 4; ++k) EXPECT_TRUE(form_->document().store.at(k) == document_[k]) << k;
    EXPECT_EQ(form_->CurrentIndex, index_);
    EXPECT_FALSE(form_->saveSucceeded);
    ++faults_;
  }

  // Yes to the save prompt fails the same way, and New, Open and Exit then stop. With
  // changedFile, the save first asks whether to replace a file another program changed.
  void expectPromptStops(const std::string& reason, bool changedFile = false) {
    for (void (Form2::*command)() :
         {&Form2::New_Click, &Form2::OpenSrt_Click, &Form2::Exit_Click}) {
      prompts_.answers = {Answer::Yes};
      if (changedFile) prompts_.answers.push_back(Answer::Yes);
      dialogs_.choices = {path_};  // Open must not get as far as its dialog
      (form_->*command)();
      ASSERT_EQ(prompts_.shown.size(), changedFile ? 3u : 2u);
      EXPECT_EQ(prompts_.shown[0].icon, Icon::Question);
      EXPECT_EQ(prompts_.shown.back().text, "The file could not be saved.\r\n" +
                                                form_->document().CurrentFile + "\r\n" + reason);
      prompts_.shown.clear();
      EXPECT_EQ(form_->ProceedFlag, 0);
      EXPECT_EQ(dialogs_.choices.size(), 1u);
      EXPECT_EQ(shell_.unloads, 0);
      EXPECT_EQ(form_->document().CurrentFile, path_);
      for (int k = 0; k <= 4; ++k) EXPECT_TRUE(form_->document().store.at(k) == document_[k]) << k;
      EXPECT_EQ(names(folder_), before_);
    }
    dialogs_.choices.clear();
  }

  fake::TempFolder programFolder_{"obrel-faults"};
  const fs::path& folder_ = programFolder_.path();
  std::string path_;
  fake::DiskWindow window_{folder_.string()};
  QueuedPrompts& prompts_ = window_.prompts;
  QueuedDialogs& dialogs_ = window_.dialogs;
  fake::RecordingShell& shell_ = window_.shell;
  Form2* form_ = &window_.form;
  Entry document_[5];
  std::int16_t index_ = 0;
  std::set<std::string> before_;
  static inline int faults_ = 0;

 public:
  static void TearDownTestSuite() {
    std::cout << "[ faults   ] " << faults_ << " faults injected\n";
  }
};

// The file-size limit makes the kernel refuse writes past it, as a disk that fills up does.
TEST_F(SaveFaults, AWriteBreakingOffAtAnyByteLosesNothing) {
  const std::size_t size = encodeText(
                               "1\r\n00:00:01,000 --> 00:00:02,000\r\nChanged one\r\n\r\n"
                               "2\r\n00:00:03,000 --> 00:00:04,000\r\nOld two\r\n\r\n"
                               "3\r\n00:00:05,000 --> 00:00:06,000\r\nNew three\r\n\r\n",
                               TextEncoding::Utf8)
                               .bytes.size();
  for (std::size_t at = 0; at < size; ++at) {
    const FileSizeLimit limit(at);
    form_->Save_Click();
    expectNothingLost(path_, "File too large", path_);
    if (at % 16 == 0) expectPromptStops("File too large");

    // Save As to another name breaks off the same way and keeps the document's file.
    dialogs_.choices = {(folder_ / "other.srt").string()};
    form_->SaveAs_Click();
    expectNothingLost((folder_ / "other.srt").string(), "File too large", path_);
    EXPECT_EQ(form_->document().CurrentFile, path_);
  }
  form_->Save_Click();
  EXPECT_TRUE(form_->saveSucceeded);
  EXPECT_EQ(readFile(path_).size(), size);
}

TEST_F(SaveFaults, AFileWithoutWritePermissionKeepsItsBytes) {
  ::chmod(path_.c_str(), 0444);  // no write bit at all: refused even to root
  form_->Save_Click();
  expectNothingLost(path_, "Permission denied", path_);
  expectPromptStops("Permission denied");
}

TEST_F(SaveFaults, ADeviceThatTakesNothingIsRefusedAndNothingLandsBesideIt) {
  // The link is followed to /dev/full, which is no regular file: no temporary file is made
  // in /dev, and the link stays.
  const std::set<std::string> devices = names("/dev");
  fs::remove(path_);
  fs::create_symlink("/dev/full", path_);
  // The file is no longer the one read: the user is asked, and replaces it.
  prompts_.answers = {Answer::Yes};
  form_->Save_Click();
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].text,
            "The file could not be saved.\r\n" + path_ + "\r\nNot a regular file");
  prompts_.shown.clear();
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(names("/dev"), devices);
  ++faults_;
  expectPromptStops("Not a regular file", true);

  dialogs_.choices = {"/dev/full"};
  form_->SaveAs_Click();
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text,
            "The file could not be saved.\r\n/dev/full\r\nNot a regular file");
  EXPECT_EQ(names("/dev"), devices);
  EXPECT_EQ(form_->document().CurrentFile, path_);
  ++faults_;
}

}  // namespace
}  // namespace obrel
