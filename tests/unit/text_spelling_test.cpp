// The main window's spelling options: the first choice, the options kept in the settings
// file (and a file that is no settings file), no dictionary at all, a settings file that
// cannot be written.
#include <gtest/gtest.h>

#include <string>

#include "testing/test_window.h"

namespace obrel {
namespace {

const std::string kSettings = "/config/obrel-dizivud/settings.ini";

SpellingPlaces testPlaces(std::string locale) {
  return {{OBREL_TEST_DICTIONARIES}, std::move(locale), kSettings, "/data/obrel-dizivud/words.txt"};
}

// "de_DE" or "en_US" by the checked item, "" when none is; "off" when spelling is off.
std::string shownChoice(Form2& form) {
  std::string checked;
  for (const char* item : {"Dictionary1", "Dictionary2"}) {
    if (form.findMenu(item)->checked())
      checked += form.spelling().dictionaries()[item[10] - '1'].code;
  }
  return form.Spelling.checked() ? checked : checked + " off";
}

TEST(TextSpelling, FirstChoiceAndKeptOptions) {
  struct Case {
    const char* settings;  // nullptr: no file
    const char* locale;
    const char* shown;
  };
  const Case cases[] = {
      {nullptr, "", "en_US"},
      {nullptr, "de_AT", "de_DE"},
      {"[Spelling]\nEnabled=false\nLanguage=de_DE\n", "en_US", "de_DE off"},
      // A language no longer installed: the locale's.
      {"[Spelling]\nLanguage=fr_FR\n", "de_DE", "de_DE"},
      // No settings file: the defaults, and no message.
      {"\x01\xFF not = a [settings file", "", "en_US"},
      {"[Spelling]\nEnabled=perhaps\n", "", "en_US"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings ? c.settings : "no file");
    fake::TestWindow w;
    if (c.settings) w.files.files()[kSettings] = c.settings;
    w.form.startSpelling(testPlaces(c.locale));
    EXPECT_EQ(shownChoice(w.form), c.shown);
    EXPECT_EQ(w.form.findMenu("Dictionary1")->caption(), "German (Germany) de_DE");
    EXPECT_TRUE(w.form.Spelling.enabled());
    EXPECT_TRUE(w.form.SpellingLanguage.enabled());
    EXPECT_TRUE(w.prompts.shown.empty());
  }
}

TEST(TextSpelling, OptionsKeptForTheNextStart) {
  fake::TestWindow first;
  first.form.startSpelling(testPlaces(""));
  first.form.Dictionary_Click(0);
  first.form.Spelling_Click();
  EXPECT_EQ(first.files.files()[kSettings], "[Spelling]\nEnabled=false\nLanguage=de_DE\n");

  fake::TestWindow next;
  next.files.files() = first.files.files();
  next.form.startSpelling(testPlaces("en_US"));
  EXPECT_EQ(shownChoice(next.form), "de_DE off");
  EXPECT_TRUE(next.form.spelling().misspelt("Helo").empty());
  next.form.Spelling_Click();
  EXPECT_EQ(next.form.spelling().misspelt("gut Helo").size(), 1u);

  // A settings file that cannot be written is told; the option holds for this run.
  next.faulty.failNextWriteAfter(0);
  next.form.Spelling_Click();
  ASSERT_EQ(next.prompts.shown.size(), 1u);
  EXPECT_EQ(next.prompts.shown[0].text, "The settings could not be kept for the next start.\r\n" +
                                            kSettings + "\r\nNo space left on device");
  EXPECT_EQ(shownChoice(next.form), "de_DE off");
}

TEST(TextSpelling, NoDictionaryChangesNothing) {
  fake::TestWindow w;
  SpellingPlaces places = testPlaces("");
  places.dictionaryFolders = {"/nowhere"};
  w.form.startSpelling(places);
  EXPECT_FALSE(w.form.Spelling.enabled());
  EXPECT_FALSE(w.form.Spelling.checked());
  EXPECT_FALSE(w.form.SpellingLanguage.enabled());
  EXPECT_EQ(w.form.findMenu("Dictionary1"), nullptr);
  EXPECT_TRUE(w.form.spelling().misspelt("Helo wrold").empty());
  EXPECT_TRUE(w.files.files().empty());
}

}  // namespace
}  // namespace obrel
