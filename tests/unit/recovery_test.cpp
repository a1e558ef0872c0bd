// The recovery copy: the dump read back exactly as written, copies that must not be read,
// whose copy a starting program may take, what it keeps and deletes, and a folder that
// cannot be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "document/file_limits.h"
#include "document/recovery_copy.h"
#include "editor/recovery_keeper.h"
#include "platform/failure.h"
#include "platform/recovery_folder.h"
#include "testing/temp_folder.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

using fake::readFile;
using fake::writeFile;

constexpr std::array<TextEncoding, 7> kEveryEncoding{
    TextEncoding::Utf8,    TextEncoding::Utf8Bom, TextEncoding::Utf16LE,    TextEncoding::Utf16BE,
    TextEncoding::Utf32LE, TextEncoding::Utf32BE, TextEncoding::Windows1252};

Entry timed(std::string text) {
  return Entry{std::move(text),
               "00:00:01,000 --> 00:00:02,500",
               "00",
               "00",
               "01",
               "000",
               "00",
               "00",
               "02",
               "500"};
}

void expectSameStore(const EntryStore& got, const EntryStore& want) {
  for (int k = EntryStore::kFirst; k <= EntryStore::kLast; ++k) {
    ASSERT_EQ(got.at(k), want.at(k)) << "slot " << k;
  }
}

void expectSameFacts(const DocumentFacts& got, const DocumentFacts& want) {
  EXPECT_EQ(got.currentIndex, want.currentIndex);
  EXPECT_EQ(got.currentFile, want.currentFile);
  EXPECT_EQ(got.encoding, want.encoding);
  EXPECT_EQ(got.partialLoad, want.partialLoad);
  EXPECT_EQ(got.identity, want.identity);
  EXPECT_EQ(got.writtenAt, want.writtenAt);
}

struct StoreCase {
  const char* name;
  std::function<void(EntryStore&)> fill;
};

// Every shape of store SRT could not hold.
const std::vector<StoreCase>& storeCases() {
  static const std::vector<StoreCase> cases{
      {"empty", [](EntryStore&) {}},
      {"slot 0 and slot 10000",
       [](EntryStore& s) {
         s.edit(0) = timed("before the first");
         s.edit(10000) = timed("past the last");
       }},
      {"gaps",
       [](EntryStore& s) {
         s.edit(1) = timed("one");
         s.edit(7) = timed("seven");
         s.edit(9999) = timed("last");
       }},
      {"no timing line", [](EntryStore& s) { s.edit(2).EntryText = "text alone"; }},
      {"a time part alone", [](EntryStore& s) { s.edit(3).EndSeconds = "9"; }},
      {"tabs, CR, LF and backslashes",
       [](EntryStore& s) {
         s.edit(1) = timed("a\tb\r\nc\\d\\n\\t\\\\");
         s.edit(2) = timed("\\");
         s.edit(3) = timed("ends in a backslash\\");
         s.edit(4) = timed("\n\r\t");
       }},
      {"empty and number-like lines, and lines the dump uses",
       [](EntryStore& s) {
         s.edit(1) = timed("2\r\n\r\n00:00:03,000 --> 00:00:04,000\r\n3");
         s.edit(2) = timed("end");
         s.edit(3) = timed("slot 4\r\nend\r\n");
         s.edit(5) = timed("\r\n\r\n");
       }},
      {"parts that differ from the timing line",
       [](EntryStore& s) {
         Entry& e = s.edit(1);
         e = timed("text");
         e.StartHours = "7";
         e.EndMillis = "5";
         e.EntryTiming = "0:0:1,0 -->  0:0:2,0 X1:2";
         s.edit(2).EntryTiming = " ";
       }},
      {"text in other scripts",
       [](EntryStore& s) { s.edit(1) = timed("Ærø 日本 \xF0\x9F\x98\x80"); }},
  };
  return cases;
}

TEST(RecoveryCopy, EveryStoreAndEveryFactSurviveTheRoundTrip) {
  const std::vector<std::optional<FileIdentity>> identities{
      std::nullopt, FileIdentity{2049, 1234567, 0, -1}, FileIdentity{~0ull, ~0ull, ~0ull, -5}};
  int row = 0;
  for (const StoreCase& c : storeCases()) {
    for (TextEncoding encoding : kEveryEncoding) {
      EntryStore store;
      c.fill(store);
      DocumentFacts facts;
      facts.encoding = encoding;
      facts.currentIndex = std::array<std::int16_t, 3>{0, 1, 9999}[row % 3];
      facts.currentFile = row % 2 ? "" : "/films/a\tb\\n\n\r/é.srt";
      facts.partialLoad = row % 2 == 1;
      facts.identity = identities[row % identities.size()];
      facts.writtenAt = 1700000000 + row;
      ++row;
      SCOPED_TRACE(std::string(c.name) + ", encoding " + std::to_string(int(encoding)));
      const std::optional<RecoveredDocument> back =
          readRecoveryCopy(writeRecoveryCopy(store, facts));
      ASSERT_TRUE(back);
      expectSameStore(back->store, store);
      expectSameFacts(back->facts, facts);
    }
  }
}

// A well-formed copy of two entries, to break in one place at a time.
std::string goodCopy() {
  EntryStore store;
  store.edit(1) = timed("one");
  store.edit(2) = timed("two");
  DocumentFacts facts;
  facts.currentFile = "/films/a.srt";
  return writeRecoveryCopy(store, facts);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(RecoveryCopy, MalformedCopiesAreUnreadable) {
  const std::string good = goodCopy();
  ASSERT_TRUE(readRecoveryCopy(good));
  const std::string lastSlot = "slot 2\t";
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"nothing", ""},
      {"cut before the end line", good.substr(0, good.size() - 4)},
      {"cut inside the end line", good.substr(0, good.size() - 2)},
      {"cut before the last line end", good.substr(0, good.size() - 1)},
      {"cut inside a slot", good.substr(0, good.find(lastSlot) + 9)},
      {"cut in the header", good.substr(0, good.find("\nencoding") + 1) + "end\n"},
      {"unknown escape", replaced(good, "one", "o\\xne")},
      {"escape at a value's end", replaced(good, "\tone", "\tone\\")},
      {"index below 0", replaced(good, "index 1", "index -1")},
      {"index past 9999", replaced(good, "index 1", "index 10000")},
      {"index past the number type", replaced(good, "index 1", "index 70000")},
      {"index not a number", replaced(good, "index 1", "index 1x")},
      {"slot past 10000", replaced(good, lastSlot, "slot 10001\t")},
      {"slot below 0", replaced(good, lastSlot, "slot -2\t")},
      {"slot not a number", replaced(good, lastSlot, "slot two\t")},
      {"slot without a number", replaced(good, lastSlot, "slot \t")},
      {"slot of nine values", replaced(good, "\t500\nslot 2", "\nslot 2")},
      {"slot of eleven values", replaced(good, "\t500\nslot 2", "\t500\t\nslot 2")},
      {"a line that is no slot", replaced(good, lastSlot, "slit 2\t")},
      {"unknown encoding", replaced(good, "encoding utf-8", "encoding latin-9")},
      {"partial neither 0 nor 1", replaced(good, "partial 0", "partial 2")},
      {"identity of three numbers", replaced(good, "identity none", "identity 1 2 3")},
      {"another first line", replaced(good, "copy 1", "copy 2")},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(readRecoveryCopy(c.text)) << c.name;
  }
}

using Names = std::vector<std::string>;

// A copy another program left, written at the time given.
void leaveCopy(const std::string& folder, const std::string& id, std::int64_t writtenAt,
               const std::string& text) {
  EntryStore store;
  store.edit(1) = timed(text);
  DocumentFacts facts;
  facts.writtenAt = writtenAt;
  std::filesystem::create_directories(folder);
  writeFile(folder + '/' + id + ".copy", writeRecoveryCopy(store, facts));
}

void setAge(const std::string& path, int days) {
  const timespec when{std::time(nullptr) - days * 24 * 60 * 60, 0};
  const timespec times[2] = {when, when};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

struct Taken {
  std::string id;
  std::string text;
};
// What a starting program takes: every abandoned copy whose lock it can take, with its text.
std::vector<Taken> takeAbandoned(RecoveryFolder& folder) {
  std::vector<Taken> taken;
  for (const auto& found : folder.abandonedCopies(kRecoveryCopyHeadBytes, isWholeRecoveryCopy)) {
    if (folder.take(found.id)) taken.push_back({found.id, folder.read(found.id).value_or("")});
  }
  return taken;
}

// The keeper's runner in tests: each job done before the call returns.
void atOnce(const std::function<void()>& job) { job(); }

// The main window over the stand-ins, with a keeper that writes at once into a folder of
// the test's.
class KeeperTest : public RealFileSystemTest {
 protected:
  const std::string folderPath_ = temp_ / "recovery";
  fake::TestWindow window_;
  Form2& form_ = window_.form;
  RecoveryFolder folder_{folderPath_, kLargestRecoveryCopy};
  RecoveryKeeper keeper_{folder_, atOnce};
};

TEST_F(KeeperTest, ACopyWhoseOwnerHoldsItsLockIsNotTakenUntilTheOwnerIsGone) {
  auto owner = std::make_unique<RecoveryFolder>(folderPath_, kLargestRecoveryCopy);
  owner->write("the owner's copy\n");
  const Names written = entriesOf(folderPath_);
  ASSERT_EQ(written.size(), 2u);
  EXPECT_TRUE(written[0].ends_with(".copy") && written[1].ends_with(".lock"));

  EXPECT_TRUE(takeAbandoned(folder_).empty());
  EXPECT_EQ(entriesOf(folderPath_), written);

  // Gone without removing its copy, as a killed program goes.
  owner.reset();
  const auto taken = takeAbandoned(folder_);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].text, "the owner's copy\n");
  EXPECT_EQ(written[0], taken[0].id + ".copy");
  // While this program holds it, a third start does not take it.
  RecoveryFolder third(folderPath_, kLargestRecoveryCopy);
  EXPECT_TRUE(takeAbandoned(third).empty());
}

TEST_F(KeeperTest, AnUnreadableCopyIsRenamedBrokenAndNothingIsAsked) {
  std::filesystem::create_directories(folderPath_);
  const std::string bytes = goodCopy().substr(0, 60);
  writeFile(folderPath_ + "/77-1-2.copy", bytes);
  keeper_.offer(form_, window_.prompts);
  EXPECT_TRUE(window_.prompts.shown.empty());
  EXPECT_EQ(entriesOf(folderPath_), Names{"77-1-2.copy.broken"});
  EXPECT_EQ(readFile(folderPath_ + "/77-1-2.copy.broken"), bytes);
  // It is never offered again.
  RecoveryFolder next(folderPath_, kLargestRecoveryCopy);
  EXPECT_TRUE(takeAbandoned(next).empty());
  EXPECT_EQ(entriesOf(folderPath_), Names{"77-1-2.copy.broken"});
}

TEST_F(KeeperTest, CopiesAndBrokenCopiesOlderThanThirtyDaysAreDeleted) {
  leaveCopy(folderPath_, "1-1-1", 100, "old");
  leaveCopy(folderPath_, "2-1-1", 200, "recent");
  writeFile(folderPath_ + "/3-1-1.copy.broken", "old and broken");
  writeFile(folderPath_ + "/4-1-1.copy.broken", "recent and broken");
  writeFile(folderPath_ + "/5-1-1.lock", "");  // a lock without its copy
  setAge(folderPath_ + "/1-1-1.copy", 31);
  setAge(folderPath_ + "/2-1-1.copy", 29);
  setAge(folderPath_ + "/3-1-1.copy.broken", 31);
  setAge(folderPath_ + "/4-1-1.copy.broken", 29);

  const auto taken = takeAbandoned(folder_);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].id, "2-1-1");
  folder_.release("2-1-1");
  EXPECT_EQ(entriesOf(folderPath_), (Names{"2-1-1.copy", "2-1-1.lock", "4-1-1.copy.broken"}));
}

TEST_F(KeeperTest, TheNewestOfTwoCopiesIsOfferedAndTheOtherStays) {
  // The newer by the time it records, whatever the files' own times and the order of their
  // names.
  for (const auto& [newer, older] : {std::pair{"1-1-1", "2-1-1"}, std::pair{"2-1-1", "1-1-1"}}) {
    SCOPED_TRACE(newer);
    const std::string folderPath = temp_ / newer;
    fake::TestWindow window;
    RecoveryFolder folder(folderPath, kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, atOnce);
    leaveCopy(folderPath, newer, 200, "newer");
    leaveCopy(folderPath, older, 100, "older");
    setAge(folderPath + '/' + newer + ".copy", 2);
    window.prompts.answers.push_back(Answer::Yes);
    keeper.offer(window.form, window.prompts);
    ASSERT_EQ(window.prompts.shown.size(), 1u);
    EXPECT_EQ(window.form.document().store.at(1).EntryText, "newer");

    // The older one is left for a later start.
    RecoveryFolder later(folderPath, kLargestRecoveryCopy);
    const auto taken = takeAbandoned(later);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].id, older);
  }
}

TEST_F(KeeperTest, NoDeletesTheOfferedCopyAndLeavesTheDocument) {
  leaveCopy(folderPath_, "1-1-1", 100, "kept");
  window_.prompts.answers.push_back(Answer::No);
  keeper_.offer(form_, window_.prompts);
  ASSERT_EQ(window_.prompts.shown.size(), 1u);
  const fake::MessageBoxShown& box = window_.prompts.shown[0];
  EXPECT_EQ(box.text,
            "Obrel Dizivud did not end normally. Entries that were not saved were kept.\r\n"
            "Open them now?");
  EXPECT_EQ(box.title, "Obrel Dizivud");
  EXPECT_EQ(box.icon, Icon::Question);
  EXPECT_EQ(box.buttons, Buttons::YesNo);
  EXPECT_EQ(entriesOf(folderPath_), Names{});
  EXPECT_FALSE(form_.document().holdsUnsavedWork());
  EXPECT_EQ(form_.ChangeCount, 0);
  keeper_.afterEvent(form_);
  EXPECT_EQ(entriesOf(folderPath_), Names{});
}

TEST_F(KeeperTest, YesRestoresTheWholeDocumentThenTheCopyIsThisProgramsOwn) {
  const struct {
    const char* name;
    std::string file;
    std::int16_t index;
    std::string caption;
  } cases[] = {
      {"a file, another entry", "/films/a.srt", 3, "Obrel Dizivud - /films/a.srt"},
      // The index box already reads 1: the fields must be filled all the same.
      {"untitled, the entry shown", "", 1, "Obrel Dizivud"},
      // A slot the index box is never stepped to.
      {"slot 0", "/films/b.srt", 0, "Obrel Dizivud - /films/b.srt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folderPath = temp_ / c.name;
    fake::TestWindow window;
    Form2& form = window.form;
    RecoveryFolder folder(folderPath, kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, atOnce);

    EntryStore store;
    store.edit(0).EntryText = "slot 0";
    store.edit(1) = timed("first");
    store.edit(3) = timed("third\r\n\r\n4");
    store.edit(3).StartMillis = "7";
    store.edit(10000) = timed("past the last");
    DocumentFacts facts;
    facts.currentIndex = c.index;
    facts.currentFile = c.file;
    facts.encoding = TextEncoding::Utf16BE;
    facts.partialLoad = true;
    facts.identity = FileIdentity{8, 9, 10, 11};
    facts.writtenAt = 100;
    std::filesystem::create_directories(folderPath);
    writeFile(folderPath + "/1-1-1.copy", writeRecoveryCopy(store, facts));

    window.prompts.answers.push_back(Answer::Yes);
    const std::int16_t changes = form.ChangeCount;
    keeper.offer(form, window.prompts);
    ASSERT_EQ(window.prompts.shown.size(), 1u);

    expectSameStore(form.document().store, store);
    const Entry& shown = store.at(c.index);
    EXPECT_EQ(form.CurrentIndex, c.index);
    EXPECT_EQ(form.Text10.text(), std::to_string(c.index));
    EXPECT_EQ(form.Text4.text(), shown.StartMillis);
    EXPECT_EQ(form.Text8.text(), shown.EndMillis);
    EXPECT_EQ(form.Text9.text(), shown.EntryText);
    EXPECT_EQ(form.document().CurrentFile, c.file);
    EXPECT_EQ(form.caption(), c.caption);
    EXPECT_EQ(form.document().encoding, TextEncoding::Utf16BE);
    EXPECT_TRUE(form.document().partialLoad);
    EXPECT_EQ(form.document().fileIdentity, facts.identity);
    EXPECT_TRUE(form.Save.enabled());
    EXPECT_TRUE(form.SaveAs.enabled());
    EXPECT_EQ(form.ChangeCount, changes + 1);
    EXPECT_TRUE(form.document().holdsUnsavedWork());

    // The offered copy stays until this program's own is written.
    EXPECT_EQ(entriesOf(folderPath), (Names{"1-1-1.copy", "1-1-1.lock"}));
    keeper.afterEvent(form);
    const Names names = entriesOf(folderPath);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0], "1-1-1.copy");
    const std::optional<RecoveredDocument> own =
        readRecoveryCopy(readFile(folderPath + '/' + names[0]));
    ASSERT_TRUE(own);
    expectSameStore(own->store, store);
    EXPECT_EQ(own->facts.currentFile, c.file);
    // A normal end leaves nothing.
    keeper.endNormally();
    EXPECT_EQ(entriesOf(folderPath), Names{});
  }
}

TEST_F(KeeperTest, AFailedWriteIsToldOnceAndTriedAgainAtTheNextChange) {
  // The state folder's place is taken by a file: the folder cannot be made.
  const std::string stateHome = temp_ / "state";
  writeFile(stateHome, "not a folder");
  RecoveryFolder folder(recoveryFolderPath(stateHome.c_str(), "/nonexistent"),
                        kLargestRecoveryCopy);
  RecoveryKeeper keeper(folder, atOnce);

  testing::internal::CaptureStderr();
  fake::commitEntry(form_, 1, "a");
  keeper.afterEvent(form_);
  fake::commitEntry(form_, 1, "ab");
  keeper.afterEvent(form_);
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  EXPECT_NE(told.find(folder.folder()), std::string::npos) << told;
  // The box follows the same rule: once, until a copy is written again.
  keeper.tellFailure(window_.prompts);
  EXPECT_FALSE(keeper.failureWaiting());
  ASSERT_EQ(window_.prompts.shown.size(), 1u);
  EXPECT_EQ(window_.prompts.shown[0].text,
            "Unsaved entries cannot be kept for recovery.\r\nNot a directory (folder " +
                folder.folder() + ")");

  std::filesystem::remove(stateHome);
  fake::commitEntry(form_, 1, "abc");
  keeper.afterEvent(form_);  // at once, not at the next timed write
  EXPECT_FALSE(keeper.due());
  const Names names = entriesOf(folder.folder());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(readRecoveryCopy(readFile(folder.folder() + '/' + names[0]))->store.at(1).EntryText,
            "abc");
  // Failing again after a copy was written is told again (the document saved, then changed).
  window_.dialogs.choices = {"saved.srt"};
  form_.SaveAs_Click();
  keeper.afterEvent(form_);
  std::filesystem::remove_all(stateHome);
  writeFile(stateHome, "not a folder");
  fake::commitEntry(form_, 1, "abcd");
  testing::internal::CaptureStderr();
  keeper.afterEvent(form_);
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(keeper.failureWaiting());
}

// A folder or a copy another user could have planted is never used or read: the copy is
// made broken, and copies are not kept in such a folder.
TEST_F(KeeperTest, OnlyTheUsersOwnFolderAndCopiesAreUsed) {
  const bool root = ::geteuid() == 0;
  // Other people's folders: a link to a folder, and one of another user's open to all.
  const std::string elsewhere = temp_ / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::create_directory_symlink(elsewhere, folderPath_);
  leaveCopy(elsewhere, "1-1-1", 100, "planted");
  keeper_.offer(form_, window_.prompts);
  EXPECT_THROW(folder_.write("mine"), FileError);
  if (root) {
    std::filesystem::remove(folderPath_);
    leaveCopy(folderPath_, "1-1-1", 100, "planted");
    ::chown(folderPath_.c_str(), 65534, 65534);
    ::chmod(folderPath_.c_str(), 0777);
    RecoveryFolder folder(folderPath_, kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, atOnce);
    keeper.offer(form_, window_.prompts);
    try {
      folder.write("mine");
      ADD_FAILURE() << "written in another user's folder";
    } catch (const FileError& e) {
      EXPECT_STREQ(e.what(), "Owned by another user");
    }
    EXPECT_EQ(entriesOf(folderPath_), Names{"1-1-1.copy"});
  }
  EXPECT_TRUE(window_.prompts.shown.empty());
  std::filesystem::remove_all(folderPath_);

  // The user's own folder, opened to all, is narrowed and used; copies that are no regular
  // file of the user's become broken, unread and without waiting.
  std::filesystem::create_directories(folderPath_);
  ::chmod(folderPath_.c_str(), 0777);
  leaveCopy(elsewhere, "9-9-9", 100, "linked");
  std::filesystem::create_symlink(elsewhere + "/9-9-9.copy", folderPath_ + "/2-1-1.copy");
  ASSERT_EQ(::mkfifo((folderPath_ + "/3-1-1.copy").c_str(), 0600), 0);
  Names broken{"2-1-1.copy.broken", "3-1-1.copy.broken"};
  if (root) {
    leaveCopy(folderPath_, "4-1-1", 100, "another user's");
    ::chown((folderPath_ + "/4-1-1.copy").c_str(), 65534, 65534);
    broken.push_back("4-1-1.copy.broken");
  }
  RecoveryFolder folder(folderPath_, kLargestRecoveryCopy);
  RecoveryKeeper keeper(folder, atOnce);
  keeper.offer(form_, window_.prompts);
  EXPECT_TRUE(window_.prompts.shown.empty());
  EXPECT_EQ(entriesOf(folderPath_), broken);
  struct stat st {};
  ::stat(folderPath_.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  folder.write("mine");
  folder.remove();
}

// Copies are read only up to the largest copy: a larger one is broken and the next newest
// offered; a document whose copy would be larger is not copied, and the user is told.
TEST_F(KeeperTest, CopiesLargerThanTheLimitAreNeitherReadNorWritten) {
  leaveCopy(folderPath_, "1-1-1", 100, "older");
  leaveCopy(folderPath_, "2-1-1", 200, std::string(2000, 'x'));
  RecoveryFolder folder(folderPath_, 1000);
  RecoveryKeeper keeper(folder, atOnce);
  window_.prompts.answers.push_back(Answer::No);
  keeper.offer(form_, window_.prompts);
  ASSERT_EQ(window_.prompts.shown.size(), 1u);
  EXPECT_EQ(entriesOf(folderPath_), Names{"2-1-1.copy.broken"});

  fake::commitEntry(form_, 1, std::string(2000, 'y'));
  testing::internal::CaptureStderr();
  keeper.afterEvent(form_);
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(keeper.failureWaiting());
  keeper.tellFailure(window_.prompts);
  ASSERT_EQ(window_.prompts.shown.size(), 2u);
  EXPECT_EQ(window_.prompts.shown[1].text,
            "Unsaved entries cannot be kept for recovery.\r\nFile too large (folder " +
                folderPath_ + ")");
  EXPECT_EQ(window_.prompts.shown[1].icon, Icon::Exclamation);
  EXPECT_EQ(entriesOf(folderPath_), Names{"2-1-1.copy.broken"});
}

// A temporary file left by a program killed between writing its copy and renaming it: whole,
// it is the copy offered; cut short, it goes; while its program runs, it stays.
TEST_F(KeeperTest, TemporaryFilesLeftBehindAreTakenOrRemoved) {
  EntryStore store;
  store.edit(1) = timed("from the temporary file");
  DocumentFacts facts;
  facts.writtenAt = 300;
  const std::string newer = writeRecoveryCopy(store, facts);
  const struct {
    const char* name;
    std::string temporary;
    const char* offered;
  } cases[] = {
      {"whole", newer, "from the temporary file"},
      {"cut short", newer.substr(0, newer.size() - 2), "older"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folderPath = temp_ / c.name;
    leaveCopy(folderPath, "1-1-1", 100, "older");
    writeFile(folderPath + "/1-1-1.tmp.AbCdEf", c.temporary);
    fake::TestWindow window;
    RecoveryFolder folder(folderPath, kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, atOnce);
    window.prompts.answers.push_back(Answer::Yes);
    keeper.offer(window.form, window.prompts);
    EXPECT_EQ(window.form.document().store.at(1).EntryText, c.offered);
    EXPECT_EQ(entriesOf(folderPath), (Names{"1-1-1.copy", "1-1-1.lock"}));
  }
  RecoveryFolder running(folderPath_, kLargestRecoveryCopy);
  running.write("running");
  Names names = entriesOf(folderPath_);
  const std::string temporary = names[0].substr(0, names[0].find('.')) + ".tmp.AbCdEf";
  writeFile(folderPath_ + '/' + temporary, newer);
  EXPECT_TRUE(takeAbandoned(folder_).empty());
  names.push_back(temporary);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(entriesOf(folderPath_), names);
}

TEST(RecoveryFolderPath, HomeIsUsedOnlyWhenAbsolute) {
  const passwd* user = ::getpwuid(::geteuid());
  ASSERT_NE(user, nullptr);
  const std::string database = std::string(user->pw_dir) + "/.local/state/obrel-dizivud/recovery";
  EXPECT_EQ(recoveryFolderPath("/state", "/home/u"), "/state/obrel-dizivud/recovery");
  EXPECT_EQ(recoveryFolderPath("state", "/home/u"), "/home/u/.local/state/obrel-dizivud/recovery");
  EXPECT_EQ(recoveryFolderPath(nullptr, "/home/u"), "/home/u/.local/state/obrel-dizivud/recovery");
  EXPECT_EQ(recoveryFolderPath(nullptr, "home/u"), database);
  EXPECT_EQ(recoveryFolderPath(nullptr, ""), database);
  EXPECT_EQ(recoveryFolderPath(nullptr, nullptr), database);
}

}  // namespace
}  // namespace obrel
