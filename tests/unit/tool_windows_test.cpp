// What the transcript of the sample tool windows (tool_windows.drive) cannot show: the spelling
// of shortcut keys, a combo box's limit and list, buttons that take Enter and Escape without
// acting, and the program's tool windows where no script reaches.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/key_names.h"
#include "shell/program.h"
#include "testing/sample_windows.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

TEST(KeyNames, AreSpeltOneWay) {
  const std::vector<std::pair<const char*, std::optional<std::string>>> cases = {
      {"Ctrl+Shift+T", "Ctrl+Shift+T"},
      {"shift+ctrl+t", "Ctrl+Shift+T"},
      {"shift+f3", "Shift+F3"},
      {"Alt+Meta+5", "Meta+Alt+5"},
      {"pgdown", "PgDown"},
      {"F35", "F35"},
      {"F36", std::nullopt},
      {"F0", std::nullopt},
      {"F03", std::nullopt},
      {"Ctrl+", std::nullopt},
      {"Ctrl", std::nullopt},
      {"Ctrl+Ctrl+Q", std::nullopt},
      {"Hyper+Q", std::nullopt},
      {"Ctrl+QQ", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
  };
  for (const auto& [keys, spelt] : cases) EXPECT_EQ(canonicalKeys(keys), spelt) << keys;
}

TEST(SampleWindow, AComboBoxCutsItsTextAndTellsWhenItsListChanges) {
  fake::RecordingShell shell;
  fake::SampleToolWindow six{shell};
  six.Combo1.maxLength = 4;
  six.Combo1.setText("29.970");
  EXPECT_EQ(six.Combo1.text(), "29.9");
  six.typeInto(six.Combo1, '1');  // full
  EXPECT_EQ(six.Combo1.text(), "29.9");
  const std::uint64_t items = six.Combo1.itemsRevision();
  six.Combo1.setItems({"23.976", "24", "25"});
  EXPECT_EQ(six.Combo1.itemsRevision(), items);
  six.Combo1.setItems({"50"});
  EXPECT_NE(six.Combo1.itemsRevision(), items);
}

TEST(SampleWindow, EnterOnADisabledDefaultButtonDoesNothingAndIsNotTyped) {
  fake::RecordingShell shell;
  fake::SampleToolWindow six{shell};
  int seen = 0;
  six.Text1.onKeyPress = [&seen](int&) { ++seen; };
  six.Text2.onKeyPress = [&seen](int&) { ++seen; };
  six.Command1.setEnabled(false);
  six.typeInto(six.Text1, kEnter);
  EXPECT_EQ(six.Label1.caption(), "");
  EXPECT_EQ(seen, 0);
  // Without the buttons, both keys are typed.
  six.defaultButton = nullptr;
  six.cancelButton = nullptr;
  six.typeInto(six.Text2, kEnter);
  six.typeInto(six.Text2, kEscape);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(six.Text2.text(), "\r\n");
}

class ToolWindows : public ::testing::Test {
 protected:
  ToolWindows() {
    fake::declareSampleWindows(program);
    program.startMain();
  }

  fake::QueuedPrompts prompts;
  fake::QueuedDialogs dialogs;
  fake::ScriptedPlayer player;
  fake::RecordingBrowser browser;
  fake::MemoryFileSystem files;
  Program program{Services{prompts, dialogs, player, browser, files, "/program"}};
};

TEST_F(ToolWindows, OnlyDeclaredOnesOpenAndOnlyOverTheMainWindow) {
  for (const char* name : {"Form4", "Form8", "Form10", "Form", "form6"}) {
    EXPECT_EQ(program.showToolWindow(name), nullptr) << name;
  }
  // Declared again, the next opening uses the new maker.
  Form* first = program.showToolWindow("Form6");
  program.declareToolWindow("Form6", [this](Form2&) {
    auto window = std::make_unique<fake::SampleToolWindow>(program);
    window->setCaption("Again");
    return window;
  });
  EXPECT_EQ(program.showToolWindow("Form6"), first);
  program.close(*first);
  program.collect();
  EXPECT_EQ(program.showToolWindow("Form6")->caption(), "Again");

  Program splash{Services{prompts, dialogs, player, browser, files, "/program"}};
  fake::declareSampleWindows(splash);
  splash.startWithSplash();
  EXPECT_EQ(splash.showToolWindow("Form6"), nullptr);
}

TEST_F(ToolWindows, AModalOneOpenedFromTheMainWindowGivesTheActivationBackToIt) {
  program.showToolWindow("Form6");
  program.showEntryList();
  program.activate(*program.form2());
  Form* seven = program.showToolWindow("Form7");
  program.close(*program.form5());  // blocked
  EXPECT_NE(program.form5(), nullptr);
  program.closeWindow(*seven);
  EXPECT_EQ(program.active(), program.form2());
}

TEST_F(ToolWindows, StayOpenWhenAFileIsOpened) {
  Form* six = program.showToolWindow("Form6");
  files.files()["/a.srt"] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n";
  program.form2()->openSubtitleFile("/a.srt");
  program.collect();
  EXPECT_EQ(program.form2()->document().store.at(1).EntryText, "One");
  EXPECT_EQ(program.toolWindow("Form6"), six);
}

}  // namespace
}  // namespace obrel
