// Spelling: which words are looked at, which dictionaries are offered and which comes first,
// the checker over the test dictionary, the personal word list and the settings file.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/settings_file.h"
#include "platform/spelling/dictionaries.h"
#include "platform/spelling/line_words.h"
#include "platform/spelling/personal_words.h"
#include "platform/spelling/spell_checker.h"
#include "platform/user_folders.h"
#include "testing/faulty_file_system.h"
#include "testing/memory_file_system.h"
#include "testing/temp_folder.h"

namespace obrel {
namespace {

const std::string kTestDictionaries = OBREL_TEST_DICTIONARIES;

// text with each span in brackets.
std::string marked(const std::string& text, const std::vector<TextSpan>& spans) {
  std::string out;
  std::size_t done = 0;
  for (const TextSpan& s : spans) {
    out += text.substr(done, s.start - done) + "[" + text.substr(s.start, s.length) + "]";
    done = s.start + s.length;
  }
  return out + text.substr(done);
}

TEST(LineWords, WhatIsLookedAt) {
  const std::pair<std::string, std::string> cases[] = {
      {"Hello wrold", "[Hello] [wrold]"},
      {"<i>Helo</i> <font color=\"red\">there</font>",
       "<i>[Helo]</i> <font color=\"red\">[there]</font>"},
      {"{\\an8}Helo {not a block}", "{\\an8}[Helo] {[not] [a] [block]}"},
      {"a < b > c", "[a] < [b] > [c]"},
      {"see <font colr", "[see] <font colr"},
      {"see {\\pos(10,20) tetx", "[see] {\\pos(10,20) tetx"},
      {"It costs 1999 or 3.14 and 2nd R2D2 x²", "[It] [costs] 1999 [or] 3.14 [and] 2nd R2D2 x²"},
      {"don't ’tis well-known rock'n'roll end- 'quoted'",
       "[don't] ’[tis] [well-known] [rock'n'roll] [end]- '[quoted]'"},
      {"a--b a''b -x", "[a]--[b] [a]''[b] -[x]"},
      {"Ça va, straße! Привет 東京 cafe\xCC\x81",
       "[Ça] [va], [straße]! [Привет] [東京] [cafe\xCC\x81]"},
      {"ab\377cd snake_case", "[ab]\xFF[cd] [snake]_[case]"},
      {"", ""},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(marked(line, wordsToCheck(line)), words);

  // Characters as a text box counts them: "é" is one, a tag three, a malformed byte one.
  const std::string line = "é <i>x</i>\377ü";
  EXPECT_EQ(wordsToCheck(line),
            (std::vector<TextSpan>{{0, 2, 0, 1}, {6, 1, 5, 1}, {12, 2, 11, 1}}));
}

void touch(const std::string& path) { fake::writeFile(path, ""); }

TEST(Dictionaries, FoundSortedAndNamed) {
  const fake::TempFolder first("obrel-dic");
  const fake::TempFolder second("obrel-dic");
  for (const char* name : {"en_US.aff", "en_US.dic", "fr_FR.aff", "fr_FR.dic", "xx_YY.aff",
                           "xx_YY.dic", "en_GB.dic", ".hidden.aff", ".hidden.dic"}) {
    touch(first / name);
  }
  for (const char* name : {"en_US.aff", "en_US.dic", "de_CH.aff", "de_CH.dic", "hyph_de.dic"}) {
    touch(second / name);
  }
  const std::string dicPath = ":" + first.path().string() + "::" + second.path().string() + ":";
  const std::vector<std::string> folders = dictionaryFolders(dicPath.c_str());
  EXPECT_EQ(folders, (std::vector<std::string>{first.path().string(), second.path().string(),
                                               "/usr/share/hunspell"}));
  EXPECT_EQ(dictionaryFolders(nullptr), std::vector<std::string>{"/usr/share/hunspell"});

  const std::vector<DictionaryInfo> found =
      findDictionaries({first.path().string(), "/no/such/folder", second.path().string()});
  std::vector<std::string> captions;
  for (const DictionaryInfo& d : found) captions.push_back(d.caption);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"German (Switzerland) de_CH", "English (United States) en_US",
                                      "French (France) fr_FR", "xx_YY"}));
  EXPECT_EQ(found[1].affPath, first / "en_US.aff");  // the earlier folder's
  EXPECT_EQ(found[1].dicPath, first / "en_US.dic");
  EXPECT_EQ(languageName("pt_BR"), "Portuguese (Brazil)");
  EXPECT_EQ(languageName("zz"), "");
}

TEST(Dictionaries, TheFirstChoice) {
  const auto list = [](std::vector<std::string> codes) {
    std::vector<DictionaryInfo> d;
    for (std::string& code : codes) d.push_back({std::move(code), {}, {}, {}});
    return d;
  };
  const std::vector<DictionaryInfo> several = list({"de_CH", "de_DE", "en_GB", "en_US", "fr_FR"});
  const std::pair<const char*, std::string> cases[] = {
      {"de_DE", "de_DE"}, {"de_AT", "de_CH"}, {"fr_CA", "fr_FR"}, {"en_AU", "en_GB"},
      {"ja_JP", "en_US"}, {"", "en_US"},      {"de", "de_CH"},
  };
  for (const auto& [locale, code] : cases) {
    const auto choice = firstChoice(several, locale);
    ASSERT_TRUE(choice) << locale;
    EXPECT_EQ(several[*choice].code, code) << locale;
  }
  EXPECT_EQ(firstChoice(list({"nl_NL", "sv_SE"}), "ja_JP"), 0u);
  EXPECT_EQ(firstChoice({}, "en_US"), std::nullopt);

  const std::tuple<const char*, const char*, const char*, std::string> locales[] = {
      {"de_DE.UTF-8@euro", "fr_FR", "it_IT", "de_DE"},
      {"", "fr_FR.UTF-8", "it_IT", "fr_FR"},
      {nullptr, nullptr, "pt_BR.UTF-8", "pt_BR"},
      {nullptr, nullptr, "C.UTF-8", ""},
      {"POSIX", nullptr, "de_DE", ""},
      {nullptr, nullptr, nullptr, ""},
  };
  for (const auto& [all, messages, lang, code] : locales) {
    EXPECT_EQ(localeCode(all, messages, lang), code);
  }
}

DictionaryInfo testDictionary(const std::string& code) {
  return {code, code, kTestDictionaries + "/" + code + ".aff",
          kTestDictionaries + "/" + code + ".dic"};
}

TEST(SpellChecker, MisspeltWordsOfAText) {
  SpellChecker checker;
  const std::string text = "Helo world, <i>wrold</i>\r\nThe trains said\nzzz 42x\rdon’t Door";
  EXPECT_TRUE(checker.misspelt(text).empty());  // no dictionary: nothing is misspelt

  checker.load(testDictionary("en_US"));
  EXPECT_EQ(checker.language(), "en_US");
  const std::vector<TextSpan> misspelt = checker.misspelt(text);
  EXPECT_EQ(marked(text, misspelt),
            "[Helo] world, <i>[wrold]</i>\r\nThe trains said\n[zzz] 42x\rdon’t Door");
  // Positions run on across the line breaks, CR LF being two characters.
  EXPECT_EQ(misspelt[2], (TextSpan{42, 3, 42, 3}));
  EXPECT_EQ(checker.misspelt(text), misspelt);  // the remembered lines give the same

  const std::vector<std::string> suggestions = checker.suggestions("Helo");
  EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "Hello"), suggestions.end());
  EXPECT_LE(checker.suggestions("wrold", 1).size(), 1u);
  EXPECT_TRUE(checker.suggestions(std::string(65, 'x')).empty());

  // An accepted word is correct in the lines already remembered too.
  checker.accept("zzz");
  EXPECT_EQ(marked(text, checker.misspelt(text)),
            "[Helo] world, <i>[wrold]</i>\r\nThe trains said\nzzz 42x\rdon’t Door");

  // A dictionary that cannot be read leaves the one in use.
  EXPECT_THROW(checker.load(testDictionary("missing")), FileError);
  EXPECT_EQ(checker.language(), "en_US");
  checker.load(testDictionary("de_DE"));
  EXPECT_EQ(marked("Hallo Welt, hello Straße", checker.misspelt("Hallo Welt, hello Straße")),
            "Hallo Welt, [hello] Straße");
}

TEST(PersonalWords, MergedWithWhatAnotherProgramAdded) {
  fake::MemoryFileSystem files;
  const std::string path = "/data/obrel-dizivud/words.txt";
  files.files()[path] = "\357\273\277Zorg\r\n\n  Blip  \nbad word\n";
  PersonalWords one(files, path);
  PersonalWords two(files, path);
  one.load();
  two.load();
  EXPECT_TRUE(one.contains("Zorg") && one.contains("Blip") && !one.contains("bad word"));

  one.add("Ålesund");
  two.add("Frob");
  two.add("no\nline");
  EXPECT_EQ(files.files()[path], "Blip\nFrob\nZorg\nÅlesund\n");

  fake::FaultyFileSystem full(files);
  PersonalWords three(full, path);
  full.failNextWriteAfter(0);
  EXPECT_THROW(three.add("Quux"), FileError);
  EXPECT_TRUE(three.contains("Quux"));  // for this run all the same
  EXPECT_EQ(files.files()[path], "Blip\nFrob\nZorg\nÅlesund\n");

  PersonalWords missing(files, "/nowhere/words.txt");
  missing.load();
  EXPECT_TRUE(missing.words().empty());
}

TEST(SettingsFile, RoundTripAndWhatIsNotUnderstood) {
  fake::MemoryFileSystem files;
  const std::string path = "/config/obrel-dizivud/settings.ini";
  EXPECT_EQ(readSettings(files, path), Settings{});

  const Settings kept{false, "de_DE"};
  writeSettings(files, path, kept);
  EXPECT_EQ(files.files()[path], "[Spelling]\nEnabled=false\nLanguage=de_DE\n");
  EXPECT_EQ(readSettings(files, path), kept);

  // Lines of other sections and keys are kept; known keys change in place.
  files.files()[path] = "; mine\r\n[Other]\r\nKey = 1\r\n\r\n[Spelling]\r\nLanguage = en_US\r\n";
  EXPECT_EQ(readSettings(files, path), (Settings{std::nullopt, "en_US"}));
  writeSettings(files, path, {true, "fr_FR"});
  EXPECT_EQ(files.files()[path],
            "; mine\r\n[Other]\r\nKey = 1\r\n\r\n[Spelling]\r\nLanguage=fr_FR\nEnabled=true\n");

  const std::pair<std::string, Settings> broken[] = {
      {"\177ELF\001\002 binary", {}},
      {"[Spelling]\nEnabled=yes\nLanguage=../../etc\n", {}},
      {"[Spelling]\nEnabled=true\njunk line\n", {}},
      {"[Other]\nEnabled=true\n", {}},
      {std::string(70000, '#'), {}},
  };
  for (const auto& [bytes, settings] : broken) {
    files.files()[path] = bytes;
    EXPECT_EQ(readSettings(files, path), settings);
  }
  // A file that is not understood is replaced whole.
  writeSettings(files, path, {true, std::nullopt});
  EXPECT_EQ(files.files()[path], "[Spelling]\nEnabled=true\n");
}

TEST(SettingsFile, PrivateFileAndFoldersOnDisk) {
  const fake::TempFolder root("obrel-settings");
  RealFileSystem disk;
  const std::string path =
      programConfigFolder((root / "config").c_str(), nullptr) + "/settings.ini";
  writeSettings(disk, path, {true, "en_US"});
  const auto mode = [](const std::string& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
  };
  EXPECT_EQ(mode(root / "config"), 0700u);
  EXPECT_EQ(mode(root / "config/obrel-dizivud"), 0700u);
  EXPECT_EQ(mode(path), 0600u);
  EXPECT_EQ(readSettings(disk, path), (Settings{true, "en_US"}));
  // An existing file readable by others is replaced by a private one; only it is left.
  ::chmod(path.c_str(), 0644);
  writeSettings(disk, path, {false, std::nullopt});
  EXPECT_EQ(mode(path), 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root / "config/obrel-dizivud"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(UserFolders, FromTheEnvironment) {
  const passwd* user = ::getpwuid(::getuid());
  ASSERT_NE(user, nullptr);
  const std::string databaseHome = user->pw_dir;
  EXPECT_EQ(programConfigFolder("/cfg", "/home/u"), "/cfg/obrel-dizivud");
  EXPECT_EQ(programConfigFolder("cfg", "/home/u"), "/home/u/.config/obrel-dizivud");
  EXPECT_EQ(programConfigFolder(nullptr, ""), databaseHome + "/.config/obrel-dizivud");
  EXPECT_EQ(programDataFolder("", "/home/u"), "/home/u/.local/share/obrel-dizivud");
  EXPECT_EQ(programDataFolder("/data", nullptr), "/data/obrel-dizivud");
}

}  // namespace
}  // namespace obrel
