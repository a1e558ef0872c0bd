// The main window's File > Save and File > Save As...: on files in memory, where a write can
// be made to fail part-way, and on the real disk, where the kernel refuses writes as a full
// disk, a read-only file or a device does.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <utility>

#include "testing/temp_folder.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;
using fake::QueuedDialogs;
using fake::QueuedPrompts;
using fake::readFile;

// An entry whole, as the commit or the reader would store it.
Entry entry(const std::string& text, const std::string& timing) {
  Entry e;
  e.EntryText = text;
  e.EntryTiming = timing;
  return e;
}

// Saving on files in memory: what the driver cannot stage, a disk that fails part-way through
// a write, and files read in other encodings.
class SavingTest : public ::testing::Test {
 protected:
  // Makes store the document of file, on entry index.
  void take(EntryStore store, const std::string& file, TextEncoding encoding = TextEncoding::Utf8,
            std::int16_t index = 1) {
    DocumentFacts facts;
    facts.currentFile = file;
    facts.encoding = encoding;
    facts.currentIndex = index;
    fake::takeDocument(form, std::move(store), std::move(facts));
  }

  std::string& file(const std::string& path) { return files.files()[path]; }

  fake::TestWindow window;
  fake::QueuedPrompts& prompts = window.prompts;
  fake::QueuedDialogs& dialogs = window.dialogs;
  fake::MemoryFileSystem& files = window.files;
  Form2& form = window.form;
};

const std::string kTiming = "00:00:01,000 --> 00:00:02,000";

TEST_F(SavingTest, WriteFailingPartWayKeepsFileDocumentAndEditorPlace) {
  EntryStore store;
  store.edit(1) = entry("one", kTiming);
  store.edit(2) = entry("two", kTiming);
  take(std::move(store), "a.srt", TextEncoding::Utf8, 2);
  file("a.srt") = "old";

  window.faulty.failNextWriteAfter(10);
  form.Save_Click();
  EXPECT_FALSE(form.saveSucceeded);
  EXPECT_EQ(file("a.srt"), "old");
  EXPECT_EQ(form.CurrentIndex, 2);
  EXPECT_EQ(form.Text9.text(), "two");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "The file could not be saved.\r\na.srt\r\nNo space left on device");
  EXPECT_EQ(prompts.shown[0].icon, Icon::Critical);

  // The next save finds everything in place.
  form.Save_Click();
  EXPECT_TRUE(form.saveSucceeded);
  EXPECT_EQ(file("a.srt"),
            "1\r\n" + kTiming + "\r\none\r\n\r\n2\r\n" + kTiming + "\r\ntwo\r\n\r\n");
  EXPECT_EQ(form.CurrentIndex, 2);
}

TEST_F(SavingTest, SaveAsFailingPartWayKeepsTheDocumentsFile) {
  EntryStore store;
  store.edit(1) = entry("one", kTiming);
  DocumentFacts facts;
  facts.currentFile = "a.srt";
  facts.partialLoad = true;
  fake::takeDocument(form, std::move(store), std::move(facts));
  dialogs.choices = {"b.srt"};
  window.faulty.failNextWriteAfter(3);
  form.SaveAs_Click();
  EXPECT_FALSE(form.saveSucceeded);
  EXPECT_EQ(form.document().CurrentFile, "a.srt");
  EXPECT_TRUE(form.document().partialLoad);  // Save still asks for a name
  EXPECT_FALSE(files.files().contains("b.srt"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.starts_with("The file could not be saved.\r\nb.srt\r\n"));
}

TEST_F(SavingTest, OnlyEntriesWithATimingLineAreWritten) {
  EntryStore store;
  store.edit(0) = entry("slot zero", kTiming);
  store.edit(1) = entry("no timing line", "");
  store.edit(1).StartHours = "00";
  store.edit(3) = entry("three", kTiming);
  take(std::move(store), "a.srt");
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "3\r\n" + kTiming + "\r\nthree\r\n\r\n");
}

TEST_F(SavingTest, FileIsWrittenInTheEncodingItWasReadIn) {
  const struct {
    std::string bytes;
    TextEncoding encoding;
  } files[] = {
      {"1\r\n" + kTiming + "\r\ncaf\xE9 \x80\r\n\r\n", TextEncoding::Windows1252},
      {"\xEF\xBB\xBF"
       "1\r\n" +
           kTiming + "\r\ncafé €\r\n\r\n",
       TextEncoding::Utf8Bom},
  };
  for (const auto& read : files) {
    file("a.srt") = read.bytes;
    fake::openSrt(window, "a.srt");
    dialogs.choices = {"b.srt"};
    form.SaveAs_Click();
    EXPECT_EQ(file("b.srt"), read.bytes);
    EXPECT_EQ(form.document().encoding, read.encoding);
  }

  take(EntryStore(), "a.srt", TextEncoding::Utf16BE);
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "\xFE\xFF");  // an empty store: the mark alone
}

TEST_F(SavingTest, CharacterWindows1252LacksTurnsTheDocumentToUtf8) {
  EntryStore store;
  store.edit(1) = entry("naïve → ok", kTiming);
  take(std::move(store), "a.srt", TextEncoding::Windows1252);
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "1\r\n" + kTiming + "\r\nnaïve → ok\r\n\r\n");
  // The file is UTF-8 now, as reading it back would find: it stays so.
  EXPECT_EQ(form.document().encoding, TextEncoding::Utf8);

  // A new document is UTF-8 whatever the one before.
  take(EntryStore(), "b.srt", TextEncoding::Utf16LE);
  prompts.answers = {Answer::No};
  form.New_Click();
  EXPECT_EQ(form.document().encoding, TextEncoding::Utf8);
}

const std::string kOld =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOld one\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nOld two\r\n\r\n";

std::set<std::string> names(const fs::path& folder) {
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename());
  return found;
}

// Saves that fail on the real disk: a write that breaks off at each byte in turn (the disk
// filling up), a file without write permission and a device that takes nothing (a link to
// /dev/full). Each time the user is told, the file keeps every byte, no temporary file is
// left, the document is intact, and the save prompt's Yes then stops New, Open and Exit.
// Read-only folders need a user other than root: tests/scenarios/save_faults.drive covers
// them.
class SaveFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (folder_ / "doc.srt").string();
    std::ofstream(path_, std::ios::binary) << kOld;

    // The document: the file opened, one entry changed and a new one added.
    fake::openSrt(window_, path_);
    form_->setIndexBox("1");
    form_->Text9.setText("Changed one");
    form_->Command3_Click();
    fake::commitEntry(*form_, 3, "New three", {"0", "0", "5", "0", "0", "0", "6", "0"});
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
