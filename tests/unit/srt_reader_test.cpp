// Opening large generated files through the whole Open path of a Form2 on files in memory.
#include <gtest/gtest.h>

#include <string>

#include "testing/test_window.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel {
namespace {

using fake::TestWindow;

class ReaderTest : public ::testing::Test {
 protected:
  void open(const std::string& bytes) {
    w.files.files()["in.srt"] = bytes;
    w.dialogs.choices.push_back("in.srt");
    w.prompts.answers.push_back(Answer::No);  // to the save prompt, when it asks
    w.form.OpenSrt_Click();
  }
  TestWindow w;
};

TEST_F(ReaderTest, FullFileLoadsWholeAndSavesBackByteForByte) {
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

TEST_F(ReaderTest, ReadingEndsAfterEntry9999AndNeverWritesOverEntry1000) {
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

TEST_F(ReaderTest, AFileNumberedFromZeroStopsAtSlot9999) {
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

TEST_F(ReaderTest, LastEntryTextStaysInTheScratchFile) {
  open(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:00:03,000 --> "
      "00:00:04,000\r\nB\r\nC\r\n");
  EXPECT_EQ(w.files.files()["/program/Support/Temp.srt"], "B\r\nC\r\n");
}

TEST_F(ReaderTest, UnwritableScratchFileDoesNotStopTheLoad) {
  w.faulty.failNextWriteAfter(0);
  open(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n");
  EXPECT_EQ(w.form.document().store.at(2).EntryText, "B");
  EXPECT_EQ(w.files.files().count("/program/Support/Temp.srt"), 0u);
  EXPECT_TRUE(w.prompts.shown.empty());
}

TEST_F(ReaderTest, AnEntryPastTheLastSlotIsLeftUnreadNotNumberedAgain) {
  const std::string t = "\r\n00:00:01,000 --> 00:00:02,000\r\n";
  open("9998" + t + "A\r\n\r\n9999" + t + "B\r\n\r\n9999" + t + "C\r\n");
  ASSERT_EQ(w.prompts.shown.size(), 1u);
  EXPECT_EQ(w.prompts.shown[0].text,
            "Part of this file could not be read. The entries after entry 9999 may be missing.");
  EXPECT_EQ(w.form.document().store.at(9999).EntryText, "B");
  EXPECT_TRUE(w.form.document().store.at(10000).empty());
}

}  // namespace
}  // namespace obrel
