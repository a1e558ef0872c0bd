// Saving through a Form2 built on files in memory: what the driver cannot stage, a disk
// that fails part-way through a write and files read in other encodings.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "testing/test_window.h"

namespace obrel {
namespace {

class SavingTest : public ::testing::Test {
 protected:
  // Stores an entry whole, as the commit or the reader would.
  void put(int k, const std::string& text, const std::string& timing) {
    Entry& e = form.store.edit(k);
    e.EntryText = text;
    e.EntryTiming = timing;
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
  put(1, "one", kTiming);
  put(2, "two", kTiming);
  form.setIndexBox("2");
  form.CurrentFile = "a.srt";
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
  put(1, "one", kTiming);
  form.CurrentFile = "a.srt";
  dialogs.choices = {"b.srt"};
  window.faulty.failNextWriteAfter(3);
  form.SaveAs_Click();
  EXPECT_FALSE(form.saveSucceeded);
  EXPECT_EQ(form.CurrentFile, "a.srt");
  EXPECT_FALSE(form.Save.enabled());
  EXPECT_FALSE(files.files().contains("b.srt"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.starts_with("The file could not be saved.\r\nb.srt\r\n"));
}

TEST_F(SavingTest, OnlyEntriesWithATimingLineAreWritten) {
  put(0, "slot zero", kTiming);
  put(1, "no timing line", "");
  form.store.edit(1).StartHours = "00";
  put(3, "three", kTiming);
  form.CurrentFile = "a.srt";
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "3\r\n" + kTiming + "\r\nthree\r\n\r\n");
}

TEST_F(SavingTest, FileIsWrittenInTheEncodingItWasReadIn) {
  put(1, "café €", kTiming);
  form.CurrentFile = "a.srt";

  form.documentEncoding = TextEncoding::Windows1252;
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "1\r\n" + kTiming + "\r\ncaf\xE9 \x80\r\n\r\n");
  EXPECT_EQ(form.documentEncoding, TextEncoding::Windows1252);

  form.documentEncoding = TextEncoding::Utf8Bom;
  form.Save_Click();
  EXPECT_EQ(file("a.srt"),
            "\xEF\xBB\xBF"
            "1\r\n" +
                kTiming + "\r\ncafé €\r\n\r\n");

  form.documentEncoding = TextEncoding::Utf16BE;
  form.store.clearFrom(1);
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "\xFE\xFF");  // an empty store: the mark alone
}

TEST_F(SavingTest, CharacterWindows1252LacksTurnsTheDocumentToUtf8) {
  put(1, "naïve → ok", kTiming);
  form.CurrentFile = "a.srt";
  form.documentEncoding = TextEncoding::Windows1252;
  form.Save_Click();
  EXPECT_EQ(file("a.srt"), "1\r\n" + kTiming + "\r\nnaïve → ok\r\n\r\n");
  // The file is UTF-8 now, as reading it back would find: it stays so.
  EXPECT_EQ(form.documentEncoding, TextEncoding::Utf8);

  form.documentEncoding = TextEncoding::Utf16LE;
  form.Initial();
  EXPECT_EQ(form.documentEncoding, TextEncoding::Utf8);
}

}  // namespace
}  // namespace obrel
