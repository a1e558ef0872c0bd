// The controls of the tool windows (check boxes, option buttons, combo boxes, default and
// cancel buttons, shortcuts) and the program's handling of tool windows, on the sample windows
// of the tests.
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

using fake::SampleModalWindow;
using fake::SampleToolWindow;

class SampleWindow : public ::testing::Test {
 protected:
  fake::RecordingShell shell;
  SampleToolWindow six{shell};
  int clicks = 0;
};

TEST_F(SampleWindow, AClickTogglesACheckBoxThenRunsItsHandler) {
  six.Check1.onClick = [this] {
    ++clicks;
    EXPECT_TRUE(six.Check1.checked());
  };
  six.click(six.Check1);
  EXPECT_EQ(clicks, 1);
  six.Check1.onClick = nullptr;
  six.click(six.Check1);
  EXPECT_FALSE(six.Check1.checked());
  // A disabled or hidden one takes no click.
  six.click(six.Check2);
  EXPECT_FALSE(six.Check2.checked());
  six.Check1.setVisible(false);
  six.click(six.Check1);
  EXPECT_FALSE(six.Check1.checked());
}

TEST_F(SampleWindow, AnOptionButtonClearsTheOthersOfItsContainerOnly) {
  EXPECT_TRUE(six.Option1.checked());
  six.Option4.onClick = [this] { ++clicks; };
  six.click(six.Option4);
  six.click(six.Option2);
  EXPECT_TRUE(six.Option2.checked());
  EXPECT_FALSE(six.Option1.checked());
  EXPECT_TRUE(six.Option4.checked());
  six.select(six.Option3);  // no handler runs
  EXPECT_FALSE(six.Option4.checked());
  six.click(six.Option4);
  six.click(six.Option4);  // a click on the selected one keeps it
  EXPECT_TRUE(six.Option4.checked());
  EXPECT_FALSE(six.Option3.checked());
  EXPECT_EQ(clicks, 3);
}

TEST_F(SampleWindow, AComboBoxIsATextBoxWithAList) {
  EXPECT_EQ(six.findTextBox("Combo1"), &six.Combo1);
  EXPECT_EQ(asTextBox(static_cast<Control*>(&six.Check1)), nullptr);
  six.Combo1.maxLength = 4;
  six.Combo1.onChange = [this] { ++clicks; };
  six.Combo1.setText("29.970");
  EXPECT_EQ(six.Combo1.text(), "29.9");
  six.Combo1.setCaret(0);
  six.typeInto(six.Combo1, '1');  // full
  six.typeInto(six.Combo1, kBackspace);
  EXPECT_EQ(six.Combo1.text(), "29.9");
  six.Combo1.setCaret(4);
  six.typeInto(six.Combo1, kBackspace);
  EXPECT_EQ(six.Combo1.text(), "29.");
  EXPECT_EQ(clicks, 2);
  const std::uint64_t items = six.Combo1.itemsRevision();
  six.Combo1.setItems({"23.976", "24", "25"});
  EXPECT_EQ(six.Combo1.itemsRevision(), items);
  six.Combo1.setItems({"50"});
  EXPECT_NE(six.Combo1.itemsRevision(), items);
  EXPECT_EQ(six.Combo1.items(), std::vector<std::string>{"50"});
}

// Enter and Escape press the default and cancel buttons instead of reaching a box's key
// handler; Enter in a multi-line box, and both keys in a window without those buttons, are
// typed.
TEST_F(SampleWindow, EnterAndEscapePressTheWindowsButtons) {
  int defaults = 0;
  int cancels = 0;
  six.Command1.onClick = [&] { ++defaults; };
  six.Command2.onClick = [&] { ++cancels; };
  int handled = 0;
  six.Text2.onKeyPress = [&](int&) { ++handled; };
  six.typeInto(six.Text1, kEnter);
  six.typeInto(six.Combo1, kEscape);
  six.typeInto(six.Text2, kEnter);
  EXPECT_EQ(six.keyButton(kEnter, nullptr), &six.Command1);
  EXPECT_EQ(six.keyButton('a', &six.Text1), nullptr);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(six.Text2.text(), "\r\n");
  EXPECT_EQ(handled, 1);
  six.typeInto(six.Text2, kEscape);
  EXPECT_EQ(cancels, 2);
  EXPECT_EQ(handled, 1);
  // A disabled default button takes Enter, and nothing happens.
  six.Command1.setEnabled(false);
  six.typeInto(six.Text1, kEnter);
  EXPECT_EQ(defaults, 1);
  six.defaultButton = nullptr;
  six.cancelButton = nullptr;
  six.Text1.onKeyPress = [&](int&) { ++handled; };
  six.typeInto(six.Text1, kEnter);
  six.typeInto(six.Text1, kEscape);
  EXPECT_EQ(handled, 3);
}

TEST(KeyNames, AreSpeltOneWay) {
  const std::vector<std::pair<const char*, std::optional<std::string>>> cases = {
      {"Ctrl+Shift+T", "Ctrl+Shift+T"},
      {"shift+ctrl+t", "Ctrl+Shift+T"},
      {"F3", "F3"},
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

TEST_F(SampleWindow, ShortcutsAreFoundByTheirKeysInTheMenusThenTheBorrowedOnes) {
  EXPECT_EQ(six.shortcutItem("Shift+F3"), &six.Again);
  EXPECT_EQ(six.shortcutItem("F3"), nullptr);
  fake::TestWindow main;
  EXPECT_EQ(main.form.shortcutItem("Ctrl+Shift+Z"), &main.form.Redo);
  EXPECT_EQ(main.form.shortcutItem("F11"), &main.form.EntryList);
  EXPECT_EQ(main.form.shortcutItem("Shift+F3"), nullptr);
}

class ToolWindows : public ::testing::Test {
 protected:
  ToolWindows() {
    fake::declareSampleWindows(program);
    program.startMain();
  }

  SampleToolWindow* open6() {
    return dynamic_cast<SampleToolWindow*>(program.showToolWindow("Form6"));
  }
  std::vector<std::string> windows() const {
    std::vector<std::string> names;
    for (const Form* f : program.windows()) names.push_back(f->name());
    return names;
  }
  using Names = std::vector<std::string>;

  fake::QueuedPrompts prompts;
  fake::QueuedDialogs dialogs;
  fake::ScriptedPlayer player;
  fake::RecordingBrowser browser;
  fake::MemoryFileSystem files;
  Program program{Services{prompts, dialogs, player, browser, files, "/program"}};
};

TEST_F(ToolWindows, OpenOnceComeForwardAndListInNumberOrder) {
  SampleToolWindow* six = open6();
  ASSERT_NE(six, nullptr);
  EXPECT_EQ(six->focus(), &six->Text1);
  program.showEntryList();
  EXPECT_EQ(windows(), (Names{"Form2", "Form5", "Form6"}));
  EXPECT_EQ(program.active(), program.form5());
  EXPECT_EQ(open6(), six);
  EXPECT_EQ(program.active(), six);
  EXPECT_EQ(six->activations, 2);
  program.activate(*six);  // already active: its handler does not run again
  EXPECT_EQ(six->activations, 2);
  EXPECT_TRUE(program.isToolWindow(*six));
  EXPECT_FALSE(program.isToolWindow(*program.form2()));
  // Names that are no declared tool window open nothing.
  for (const char* name : {"Form4", "Form8", "Form10", "Form", "form6"}) {
    EXPECT_EQ(program.showToolWindow(name), nullptr) << name;
  }
  // Declared again, the next opening uses the new maker.
  program.declareToolWindow("Form6", [this](Form2&) {
    auto window = std::make_unique<SampleToolWindow>(program);
    window->setCaption("Again");
    return window;
  });
  program.close(*six);
  program.collect();
  EXPECT_EQ(open6()->caption(), "Again");
}

TEST_F(ToolWindows, NeedTheMainWindow) {
  Program splash{Services{prompts, dialogs, player, browser, files, "/program"}};
  fake::declareSampleWindows(splash);
  splash.startWithSplash();
  EXPECT_EQ(splash.showToolWindow("Form6"), nullptr);
  EXPECT_EQ(splash.windows().size(), 1u);
}

TEST_F(ToolWindows, HelpKeepsTheActivationFromThemAsFromTheMainWindow) {
  SampleToolWindow* six = open6();
  program.showHelp();
  program.activate(*six);
  EXPECT_EQ(program.active(), program.form3());
  open6();
  EXPECT_EQ(program.active(), program.form3());
  program.close(*program.form3());
  program.activate(*six);
  EXPECT_EQ(program.active(), six);
}

TEST_F(ToolWindows, AModalWindowBlocksTheOthersUntilItClosesThenGivesTheActivationBack) {
  SampleToolWindow* six = open6();
  program.showHelp();
  program.showEntryList();
  six->click(six->Command3);
  Form* seven = program.toolWindow("Form7");
  ASSERT_NE(seven, nullptr);
  EXPECT_EQ(program.active(), seven);  // Help keeps no activation from it
  for (Form* other : {static_cast<Form*>(program.form2()), static_cast<Form*>(program.form3()),
                      static_cast<Form*>(program.form5()), static_cast<Form*>(six)}) {
    EXPECT_EQ(program.blockedBy(*other), seven);
    program.activate(*other);
    EXPECT_EQ(program.active(), seven);
    program.close(*other);
  }
  EXPECT_EQ(program.blockedBy(*seven), nullptr);
  EXPECT_EQ(windows(), (Names{"Form2", "Form3", "Form5", "Form6", "Form7"}));
  // Opened while Help was active: Help has it back.
  static_cast<SampleModalWindow*>(seven)->Text1.setText("x");
  seven->typeInto(static_cast<SampleModalWindow*>(seven)->Text1, kEnter);
  program.collect();
  EXPECT_EQ(program.toolWindow("Form7"), nullptr);
  EXPECT_EQ(program.active(), program.form3());
  EXPECT_EQ(six->Label1.caption(), "OK x");
  // Opened from the main window, it gives the activation back to it rather than to the last
  // window open.
  program.close(*program.form3());
  program.activate(*program.form2());
  program.showToolWindow("Form7");
  program.closeWindow(*program.toolWindow("Form7"));
  EXPECT_EQ(program.active(), program.form2());
}

TEST_F(ToolWindows, StayOpenAcrossNewAndOpenAndCloseWithTheMainWindow) {
  SampleToolWindow* six = open6();
  program.showEntryList();
  files.files()["/a.srt"] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n";
  prompts.answers = {Answer::No, Answer::No};  // for the save prompts of New and Exit
  program.form2()->openSubtitleFile("/a.srt");
  program.form2()->New_Click();
  program.collect();
  EXPECT_EQ(windows(), (Names{"Form2", "Form5", "Form6"}));
  EXPECT_EQ(program.toolWindow("Form6"), six);
  program.close(*program.form2());
  EXPECT_TRUE(program.windows().empty());
  EXPECT_TRUE(program.ended());
  program.collect();
}

}  // namespace
}  // namespace obrel
