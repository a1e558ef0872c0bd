// What the transcript of the tool windows (tool_windows.drive) cannot show: the spelling of
// shortcut keys, check boxes and a multi-line box (on a sample window: no window of the program
// holds them yet), a combo box's limit and list, buttons that take Enter and Escape without
// acting, and the program's tool windows where no script reaches.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/key_names.h"
#include "shell/form8.h"
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

TEST(SampleWindow, ACheckBoxTogglesOnAClickAndADisabledOneTakesNone) {
  fake::RecordingShell shell;
  fake::SampleToolWindow window{"Form9", shell};
  window.click(window.Check1);
  window.click(window.Check2);
  EXPECT_TRUE(window.Check1.checked());
  EXPECT_FALSE(window.Check2.checked());
  window.click(window.Command1);
  EXPECT_EQ(window.Label1.caption(), "Text1= Check1=on");
  window.click(window.Check1);
  EXPECT_FALSE(window.Check1.checked());
}

TEST(SampleWindow, EnterOnADisabledDefaultButtonDoesNothingAndIsNotTyped) {
  fake::RecordingShell shell;
  fake::SampleToolWindow window{"Form9", shell};
  int seen = 0;
  window.Text1.onKeyPress = [&seen](int&) { ++seen; };
  window.Text2.onKeyPress = [&seen](int&) { ++seen; };
  window.Command1.setEnabled(false);
  window.typeInto(window.Text1, kEnter);
  EXPECT_EQ(window.Label1.caption(), "");
  EXPECT_EQ(seen, 0);
  // A multi-line box takes Enter as a new line; without the buttons, both keys are typed.
  window.typeInto(window.Text2, kEnter);
  window.defaultButton = nullptr;
  window.cancelButton = nullptr;
  window.typeInto(window.Text2, kEscape);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(window.Text2.text(), "\r\n");
}

class ToolWindows : public ::testing::Test {
 protected:
  ToolWindows() {
    fake::declareSampleWindow(program);
    program.startMain();
  }

  fake::QueuedPrompts prompts;
  fake::QueuedDialogs dialogs;
  fake::ScriptedPlayer player;
  fake::RecordingBrowser browser;
  fake::MemoryFileSystem files;
  Program program{Services{prompts, dialogs, player, browser, files, "/program"}};
};

TEST_F(ToolWindows, AComboBoxCutsItsTextAndTellsWhenItsListChanges) {
  auto& eight = dynamic_cast<Form8&>(*program.showToolWindow("Form8"));
  eight.Combo1.maxLength = 4;
  eight.Combo1.setText("29.970");
  EXPECT_EQ(eight.Combo1.text(), "29.9");
  eight.typeInto(eight.Combo1, '1');  // full
  EXPECT_EQ(eight.Combo1.text(), "29.9");
  const std::uint64_t items = eight.Combo1.itemsRevision();
  eight.Combo1.setItems({"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"});
  EXPECT_EQ(eight.Combo1.itemsRevision(), items);
  eight.Combo1.setItems({"50"});
  EXPECT_NE(eight.Combo1.itemsRevision(), items);
}

TEST_F(ToolWindows, OnlyDeclaredOnesOpenAndOnlyOverTheMainWindow) {
  for (const char* name : {"Form4", "Form10", "Form", "form6"}) {
    EXPECT_EQ(program.showToolWindow(name), nullptr) << name;
  }
  // Declared again, the next opening uses the new maker.
  Form* first = program.showToolWindow("Form6");
  program.declareToolWindow("Form6", [this](Form2&) {
    auto window = std::make_unique<fake::SampleToolWindow>("Form6", program);
    window->setCaption("Again");
    return window;
  });
  EXPECT_EQ(program.showToolWindow("Form6"), first);
  program.close(*first);
  program.collect();
  EXPECT_EQ(program.showToolWindow("Form6")->caption(), "Again");

  Program splash{Services{prompts, dialogs, player, browser, files, "/program"}};
  splash.startWithSplash();
  EXPECT_EQ(splash.showToolWindow("Form6"), nullptr);
}

TEST_F(ToolWindows, AModalOneOpenedFromTheMainWindowGivesTheActivationBackToIt) {
  program.showToolWindow("Form6");
  program.showEntryList();
  program.activate(*program.form2());
  Form* eight = program.showToolWindow("Form8");
  program.close(*program.form5());  // blocked
  EXPECT_NE(program.form5(), nullptr);
  program.closeWindow(*eight);
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
