// Saving through a Form2 built on files in memory: what the driver cannot stage, a disk
// that fails part-way through a write and files read in other encodings.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "testing/test_window.h"
#include "testing/window_setup.h"

namespace obrel {
namespace {

// An entry whole, as the commit or the reader would store it.
Entry entry(const std::string& text, const std::string& timing) {
  Entry e;
  e.EntryText = text;
  e.EntryTiming = timing;
  return e;
}

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

}  // namespace
}  // namespace obrel
