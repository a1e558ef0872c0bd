// The Help and About windows through the program that owns them, on files in memory: what
// the driver cannot stage, a help file that changes or goes missing beside the program, and
// a player that outlives the main window.
#include <gtest/gtest.h>

#include <string>

#include "shell/program.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { program.startMain(); }

  std::string& helpFile() { return files.files()["/program/Support/Help/Obrel_help.txt"]; }
  // The user chooses Help > Obrel Help in the main window.
  void showHelp() { program.form2()->ObrelHelp.onClick(); }

  fake::QueuedPrompts prompts;
  fake::QueuedDialogs dialogs;
  fake::ScriptedPlayer player;
  fake::RecordingBrowser browser;
  fake::MemoryFileSystem files;
  Program program{Services{prompts, dialogs, player, browser, files, "/program"}};
};

TEST_F(ShellTest, HelpFileIsReadWhenTheWindowIsCreatedAndNotWhileItStaysOpen) {
  helpFile() = "First\r\n\r\n  indented\n";
  showHelp();
  ASSERT_NE(program.form3(), nullptr);
  EXPECT_EQ(program.form3()->Text1.text(), "First\r\n\r\n  indented\n");

  helpFile() = "Second";
  showHelp();
  EXPECT_EQ(program.form3()->Text1.text(), "First\r\n\r\n  indented\n");

  program.close(*program.form3());
  program.collect();
  EXPECT_EQ(program.form3(), nullptr);
  showHelp();
  ASSERT_NE(program.form3(), nullptr);
  EXPECT_EQ(program.form3()->Text1.text(), "Second");
}

TEST_F(ShellTest, MissingOrEmptyHelpFileOpensAnEmptyWindow) {
  showHelp();
  ASSERT_NE(program.form3(), nullptr);
  EXPECT_EQ(program.form3()->Text1.text(), "");
  EXPECT_EQ(program.active(), program.form3());
  program.close(*program.form3());

  helpFile() = "";
  showHelp();
  ASSERT_NE(program.form3(), nullptr);
  EXPECT_EQ(program.form3()->Text1.text(), "");
  program.close(*program.form3());

  // Over 16 MiB is no help text: the window opens empty rather than taking the memory.
  helpFile() = std::string(16 * 1024 * 1024 + 1, 'x');
  showHelp();
  ASSERT_NE(program.form3(), nullptr);
  EXPECT_EQ(program.form3()->Text1.text(), "");
}

// A file given on the command line or dropped on the window that loads nothing leaves Save
// and Save As as they were before the save prompt, whatever its answer.
TEST_F(ShellTest, AFileThatLoadsNothingLeavesSaveAndSaveAsAsTheyWere) {
  Form2& form = *program.form2();
  files.files()["/a.srt"] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n";
  files.files()["/broken.srt"] = "not a subtitle file";
  for (Answer answer : {Answer::Yes, Answer::No}) {
    form.openSubtitleFile("/a.srt");
    form.Text9.setText("Changed");
    form.Command3_Click();
    prompts.shown.clear();
    prompts.answers = {answer};
    form.openSubtitleFile("/broken.srt");
    EXPECT_EQ(prompts.shown.size(), 2u);  // the prompt, and the file that could not be read
    EXPECT_TRUE(form.Save.enabled());
    EXPECT_TRUE(form.SaveAs.enabled());
    prompts.answers = {Answer::No};
  }
}

// The player outlives the main window: once the window is unloaded, the player no longer
// asks it for entries to draw.
TEST_F(ShellTest, AnUnloadedMainWindowLeavesThePlayerNothingToDraw) {
  files.files()["/a.srt"] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n";
  program.form2()->openSubtitleFile("/a.srt");
  player.setUrl("clip.avi");
  player.setPosition(1.5);
  EXPECT_EQ(player.subtitles().size(), 1u);
  program.unloadAll();
  program.collect();
  ASSERT_EQ(program.form2(), nullptr);
  player.setPosition(1.2);
  EXPECT_TRUE(player.subtitles().empty());
}

}  // namespace
}  // namespace obrel
