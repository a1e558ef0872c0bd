// A save in place cut short by a crash, on the real disk: a child process saves a file with a
// second name (so it is written in place) and ends right after the file was cut; the next
// start, this process, finds the backup and asks, or removes it when nothing was lost.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "document/file_limits.h"
#include "editor/recovery_keeper.h"
#include "platform/recovery_folder.h"
#include "testing/test_window.h"
#include "tests/unit/real_file_system_fixture.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "1\r\n00:00:01,000 --> 00:00:02,000\r\nOld\r\n\r\n";
const std::string kNew = "1\r\n00:00:01,000 --> 00:00:02,000\r\nNew, and longer\r\n\r\n";

ino_t inodeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}

class CutSaveTest : public RealFileSystemTest {
 protected:
  void SetUp() override {
    RealFileSystemTest::SetUp();
    put("a.srt", kOld);
    fs::create_hard_link(path("a.srt"), path("b.srt"));
    inode_ = inodeOf(path("a.srt"));
  }

  // A child saves kNew over a.srt and ends right after the file was cut; with hold, it waits
  // there, its backup's lock held, until it is killed.
  pid_t cutSave(bool hold) {
    const pid_t child = ::fork();
    if (child == 0) {
      RealFileSystem files;
      files.afterCut = [hold] {
        while (hold) ::pause();
        ::_exit(0);
      };
      try {
        files.replaceFile(path("a.srt"), kNew);
      } catch (...) {
      }
      ::_exit(1);  // the file was never cut
    }
    return child;
  }
  void cutSave() {
    int status = -1;
    ::waitpid(cutSave(false), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(fs_.readFile(path("a.srt")), "");
  }

  // The next start, its questions answered in turn; the texts of the boxes it showed.
  std::vector<std::string> start(std::vector<Answer> answers = {}) {
    fake::TestWindow window;
    RecoveryFolder folder(temp_ / "recovery", kLargestRecoveryCopy);
    RecoveryKeeper keeper(folder, [](const std::function<void()>& job) { job(); });
    window.prompts.answers.assign(answers.begin(), answers.end());
    keeper.offer(window.form, window.prompts);
    std::vector<std::string> shown;
    for (const auto& box : window.prompts.shown) shown.push_back(box.text);
    return shown;
  }

  std::string question() const {
    return "Obrel Dizivud did not finish saving " + path("a.srt") +
           ".\r\nIts content from before that save was kept. Do you want to put it back?";
  }

  ino_t inode_ = 0;
};

TEST_F(CutSaveTest, YesPutsTheOldContentBackInPlaceAndNoLeavesTheFile) {
  cutSave();
  ASSERT_EQ(backups().size(), 2u);  // the backup and its companion
  EXPECT_EQ(start({Answer::Yes}), std::vector<std::string>{question()});
  EXPECT_EQ(fs_.readFile(path("b.srt")), kOld);
  EXPECT_EQ(inodeOf(path("a.srt")), inode_);
  EXPECT_EQ(backups(), std::vector<std::string>{});
  EXPECT_EQ(start(), std::vector<std::string>{});

  cutSave();
  EXPECT_EQ(start({Answer::No}), std::vector<std::string>{question()});
  EXPECT_EQ(fs_.readFile(path("a.srt")), "");
  EXPECT_EQ(backups(), std::vector<std::string>{});
}

TEST_F(CutSaveTest, NothingIsAskedWhenNothingWasLost) {
  const struct {
    const char* name;
    std::string content;
    bool companionCut;
  } cases[] = {
      {"the file holds what was being written", kNew, false},
      {"the file holds what it held before", kOld, false},
      // As when the crash came before the file was cut.
      {"the companion was never finished", kOld, true},
  };
  const fs::path folder = root_ / "cache" / "obrel-dizivud";
  for (const auto& c : cases) {
    put("a.srt", kOld);
    cutSave();
    put("a.srt", c.content);
    for (const std::string& name : entriesOf(folder)) {
      if (c.companionCut && name.ends_with(".about")) fs::resize_file(folder / name, 20);
    }
    EXPECT_EQ(start(), std::vector<std::string>{}) << c.name;
    EXPECT_EQ(backups(), std::vector<std::string>{}) << c.name;
    EXPECT_EQ(fs_.readFile(path("b.srt")), c.content) << c.name;
  }
  // A backup without a companion may be one an earlier version kept and named: it stays.
  put("a.srt", kOld);
  cutSave();
  for (const std::string& name : entriesOf(folder)) {
    if (name.ends_with(".about")) fs::remove(folder / name);
  }
  EXPECT_EQ(start(), std::vector<std::string>{});
  EXPECT_EQ(backups().size(), 1u);
}

TEST_F(CutSaveTest, AFileThatIsGoneIsMadeAgain) {
  cutSave();
  fs::remove(path("a.srt"));
  EXPECT_EQ(start({Answer::Yes}), std::vector<std::string>{question()});
  EXPECT_EQ(fs_.readFile(path("a.srt")), kOld);
  EXPECT_EQ(backups(), std::vector<std::string>{});
}

TEST_F(CutSaveTest, ASaveStillGoingOnIsLeftAlone) {
  const pid_t child = cutSave(true);
  while (fs_.readFile(path("a.srt")) != "") ::usleep(1000);
  EXPECT_EQ(start(), std::vector<std::string>{});
  EXPECT_EQ(backups().size(), 2u);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(start({Answer::Yes}), std::vector<std::string>{question()});
  EXPECT_EQ(fs_.readFile(path("a.srt")), kOld);
}

}  // namespace
}  // namespace obrel
