// Long runs of random user actions against the whole program (its four windows, on the real
// disk) from fixed starting values, as the headless driver performs them: keys into any box,
// edits, clicks, menu commands, window activations and close boxes, timer ticks, answers,
// replies, dialog results naming real, missing, unreadable and garbage files, and playback
// positions to capture. After every action: no failure escaped, the store holds together,
// and the program ended only by Exit or the close box answered Yes or No, with nothing lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/form2.h"
#include "platform/event_gate.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "platform/text_encoding.h"
#include "platform/web_links.h"
#include "shell/program.h"
#include "testing/fakes.h"
#include "testing/temp_folder.h"
#include "testing/window_invariants.h"
#include "tools/srt-gen/srt_generator.h"

namespace obrel {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kActionsPerRun = 750;  // the sanitizers make each action slow
#else
constexpr int kActionsPerRun = 3000;
#endif

const char* const kSavePrompt = "Do You Want To Save Your Changes?";

using fake::readFile;

void put(const fs::path& path, const std::string& bytes) { fake::writeFile(path, bytes); }

// What WriteSrt writes of the store, as text.
std::string srtText(const EntryStore& store) {
  std::string text;
  for (int k = 1; k <= EntryStore::kLast; ++k) {
    const Entry& e = store.at(k);
    if (!e.present()) continue;
    text += std::to_string(k) + "\r\n" + e.EntryTiming + "\r\n" + e.EntryText + "\r\n\r\n";
  }
  return text;
}

class RandomActions : public ::testing::Test {
 protected:
  void SetUp() override {
    // Paths typed at random are relative: they land here, not wherever the test was started.
    previousFolder_ = fs::current_path();
    fs::current_path(folder_);
    fs::create_directories(folder_ / "Support/Help");
    fs::create_directories(folder_ / "Web Links");
    put(folder_ / "Support/Help/Obrel_help.txt", "Help\r\n");
    put(folder_ / "Web Links/Obrel Home.url", "[InternetShortcut]\r\nURL=http://example.org/\r\n");

    // Real files in each encoding, files the runs save to, and every kind of bad path.
    const std::string real = srtgen::generate(40, srtgen::Flavour::Utf8);
    put(folder_ / "real.srt", real);
    put(folder_ / "latin.srt", srtgen::generate(25, srtgen::Flavour::Windows1252));
    put(folder_ / "wide.srt", encodeText(decodeText(real).text, TextEncoding::Utf16BE).bytes);
    put(folder_ / "short.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n");
    put(folder_ / "saved.srt", "1\r\n00:00:03,000 --> 00:00:04,000\r\nSaved\r\n\r\n");
    std::mt19937 bytes(7);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(bytes());
    put(folder_ / "garbage.srt", garbage);
    put(folder_ / "nul.srt", std::string(3000, '\0'));
    put(folder_ / "empty.srt", "");
    put(folder_ / "locked.srt", "locked");
    ::chmod((folder_ / "locked.srt").c_str(), 0444);
    fs::create_directories(folder_ / "folder.srt");
    fs::create_symlink("/dev/full", folder_ / "full.srt");
    // The first five exist and load.
    for (const char* name :
         {"real.srt", "latin.srt", "wide.srt", "short.srt", "saved.srt", "saved copy.srt",
          "garbage.srt", "nul.srt", "empty.srt", "locked.srt", "missing.srt", "folder.srt",
          "real.srt/x.srt", "no folder/x.srt", "full.srt"}) {
      paths_.push_back((folder_ / name).string());
    }
  }

  void TearDown() override {
    std::error_code ec;
    fs::current_path(previousFolder_, ec);
  }

  // Runs `actions` random actions from the fixed starting value `start`; returns how many ran.
  long run(std::uint32_t start, int actions) {
    random_ = std::mt19937(start);
    startProgram(start % 2 == 0);
    for (int i = 0; i < actions; ++i) {
      act();
      ++performed_;
      if (::testing::Test::HasFatalFailure() || ::testing::Test::HasFailure()) {
        ADD_FAILURE() << "after action " << i << " from start " << start << ": " << last_;
        return performed_;
      }
      if (program_->ended()) startProgram(pick(2) == 0);
    }
    return performed_;
  }

  long performed_ = 0;
  long endings_ = 0;       // runs ended by Exit or the close box
  long savedEndings_ = 0;  // of those, after Yes wrote the file
  long largestStore_ = 0;  // the most entries a store held
  long loads_ = 0;         // Opens that loaded entries

 private:
  void startProgram(bool splash) {
    program_.reset();
    gate_.afterOutermost = [this] { program_->collect(); };
    program_ = std::make_unique<Program>(
        Services{prompts_, dialogs_, player_, browser_, files_, folder_.string()});
    if (splash) {
      program_->startWithSplash();
    } else {
      program_->startMain();
    }
  }

  int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  std::string randomText(int longest) {
    static const char* const kPieces[] = {
        "0", "1", "5",  "9", "12", "59", "999", "00",  "-1",    " ",     "\r\n", "\n", "a",
        "é", "€", "字", "😀", ".",  ":",  ",",   "-->", "32767", "10000", "\t",   "x"};
    std::string text;
    const int n = pick(longest + 1);
    for (int i = 0; i < n; ++i) text += kPieces[pick(std::size(kPieces))];
    return text;
  }

  int randomKey() {
    switch (pick(6)) {
      case 0: return '0' + pick(10);
      case 1: return 8;
      case 2: return 13;
      case 3: return pick(128);
      case 4: {
        const int code = pick(0x10FFFF);
        return code >= 0xD800 && code <= 0xDFFF ? 'z' : code;
      }
      default: return "aZ é.,-:"[pick(8)];
    }
  }

  std::vector<TextBox*> boxes(const Form& form) {
    std::vector<TextBox*> found;
    for (Control* c : form.controls()) {
      if (c->kind() == ControlKind::TextBox) found.push_back(static_cast<TextBox*>(c));
    }
    return found;
  }

  // What a run needs to know of the document when an action may end the program.
  struct Leaving {
    bool exitAction = false;
    std::int16_t changes = 0;
    std::string savedText;
    std::string file;  // where Save writes; empty when it asks for a name
    TextEncoding encoding = TextEncoding::Utf8;
  };

  static Leaving leavingFrom(const Form2& main) {
    const Document& document = main.document();
    return {true, main.ChangeCount, srtText(document.store),
            document.partialLoad ? std::string() : document.CurrentFile, document.encoding};
  }

  // One action, chosen at random from what the user could do now.
  void act() {
    const std::vector<Form*> open = program_->windows();
    Form* form = open[pick(static_cast<int>(open.size()))];
    Form2* main = program_->form2();
    const std::size_t boxesBefore = prompts_.shown.size();
    Leaving leaving;
    const int kind = pick(22);
    last_ = "action " + std::to_string(kind);
    const bool ran =
        gate_.run("a random action", [&] { perform(kind, open, *form, main, leaving); });
    ASSERT_TRUE(ran) << "a failure escaped " << last_;
    if (program_->ended()) {
      checkEnding(main != nullptr, leaving, boxesBefore);
    } else if (Form2* now = program_->form2()) {
      checkWindow(*now);
    }
  }

  void perform(int kind, const std::vector<Form*>& open, Form& form, Form2* main,
               Leaving& leaving) {
    switch (kind) {
      case 0:
      case 1:
      case 2: return typeIntoTheFocus();
      case 3: return clickIntoABox(form);
      case 4: return moveACaret(form);
      case 5:
      case 6: return editABox(form);
      case 7:
      case 8: return clickAControl(form);
      case 9:
      case 10:
      case 11: return chooseAMenuCommand(main, leaving);
      case 12: return activateOrClose(open, main, leaving);
      case 13: return tickOrPressF12(open, main);
      case 14:
      case 15: return queueAnAnswer();
      case 16: return queueAReply();
      case 17:
      case 18: return queueAChoice();
      case 20: return openOnPurpose(main);
      case 21: return changeTheDisk();
      default: return moveThePlayer();
    }
  }

  // Keys into the focused box of the active window.
  void typeIntoTheFocus() {
    Form* active = program_->active();
    TextBox* box = active ? active->focus() : nullptr;
    if (!box) return;
    for (int n = 1 + pick(4); n > 0 && !program_->ended(); --n) {
      int code = randomKey();
      last_ = "key " + std::to_string(code) + " into " + box->name();
      typeKey(*box, code);
    }
  }

  TextBox* anyBox(const Form& form) {
    std::vector<TextBox*> all = boxes(form);
    return all.empty() ? nullptr : all[pick(static_cast<int>(all.size()))];
  }

  void clickIntoABox(Form& form) {
    TextBox* box = anyBox(form);
    if (!box) return;
    last_ = "focus " + box->name();
    if (box->enabled() && box->visible() && form.setFocus(box)) program_->activate(form);
  }

  void moveACaret(const Form& form) {
    TextBox* box = anyBox(form);
    if (!box) return;
    if (pick(2)) {
      box->setCaret(static_cast<std::size_t>(pick(12)));
    } else {
      box->selectAll();
    }
  }

  // An edit replacing a box's text.
  void editABox(const Form& form) {
    TextBox* box = anyBox(form);
    if (!box || !box->enabled() || box->readOnly) return;
    const std::string text = randomText(6);
    last_ = "edit " + box->name() + " \"" + text + "\"";
    box->setText(text);
  }

  // A click on a button, label or image.
  void clickAControl(const Form& form) {
    std::vector<Control*> clickable;
    for (Control* c : form.controls()) {
      if (c->onClick && c->enabled() && c->visible()) clickable.push_back(c);
    }
    if (clickable.empty()) return;
    Control* c = clickable[pick(static_cast<int>(clickable.size()))];
    last_ = "click " + form.name() + "." + c->name();
    c->onClick();
  }

  void chooseAMenuCommand(Form2* main, Leaving& leaving) {
    if (!main) return;
    std::vector<MenuItem*> items;
    for (MenuItem* m : main->menus()) {
      if (m->onClick && m->enabled()) items.push_back(m);
    }
    if (items.empty()) return;
    MenuItem* m = items[pick(static_cast<int>(items.size()))];
    last_ = "menu " + m->name();
    if (m->name() == "Exit") leaving = leavingFrom(*main);
    m->onClick();
  }

  void activateOrClose(const std::vector<Form*>& open, Form2* main, Leaving& leaving) {
    Form* target = open[pick(static_cast<int>(open.size()))];
    if (target->name() == "Form1") return;
    if (pick(3) == 0) {
      last_ = "close " + target->name();
      if (target == main) leaving = leavingFrom(*main);
      program_->close(*target);
    } else {
      last_ = "activate " + target->name();
      program_->activate(*target);
    }
  }

  // The splash's timer, or F12.
  void tickOrPressF12(const std::vector<Form*>& open, Form2* main) {
    if (pick(2) == 0) {
      for (Form* f : open) {
        for (Control* c : f->controls()) {
          auto* timer = c->kind() == ControlKind::Timer ? static_cast<Timer*>(c) : nullptr;
          if (timer && timer->enabled() && timer->onTimer) {
            last_ = "tick";
            timer->onTimer();
            return;
          }
        }
      }
    } else if (main && program_->active() == main && main->ObrelHelp.enabled()) {
      last_ = "shortcut F12";
      main->ObrelHelp.onClick();
    }
  }

  // Queued like a script's answers; a few at most, so they stay fresh.
  void queueAnAnswer() {
    static const Answer kAnswers[] = {Answer::Yes, Answer::No, Answer::Cancel, Answer::OK};
    if (prompts_.answers.size() < 3) prompts_.answers.push_back(kAnswers[pick(4)]);
  }

  void queueAReply() {
    if (prompts_.replies.size() >= 3) return;
    static const char* const kReplies[] = {"1",  "2",     "5",   "40", "9999",     "10000", "0",
                                           "-3", " 3.5 ", "abc", "",   "99999999", "1e3",   "7"};
    if (pick(5) == 0) {
      prompts_.replies.push_back(std::nullopt);
    } else if (pick(4) == 0) {
      prompts_.replies.push_back(randomText(4));
    } else {
      prompts_.replies.push_back(kReplies[pick(std::size(kReplies))]);
    }
  }

  void queueAChoice() {
    if (dialogs_.choices.size() >= 3) return;
    if (pick(6) == 0) {
      dialogs_.choices.push_back(std::nullopt);
    } else if (pick(8) == 0) {
      dialogs_.choices.push_back(randomText(3));
    } else {
      dialogs_.choices.push_back(paths_[pick(static_cast<int>(paths_.size()))]);
    }
  }

  // A file opened on purpose: answer No, choose a file that exists.
  void openOnPurpose(Form2* main) {
    if (!main) return;
    prompts_.answers.assign({Answer::No});
    dialogs_.choices.assign({paths_[pick(5)]});
    last_ = "menu OpenSrt";
    main->OpenSrt_Click();
  }

  // The disk changes under the program, as the driver's file lines change it.
  void changeTheDisk() {
    const std::string& path = paths_[pick(5)];
    last_ = "a change to " + path;
    if (pick(2) == 0) {
      ::chmod(path.c_str(), 0444);  // no write bit: refused even to root
    } else {
      std::error_code ec;
      fs::remove(path, ec);
      put(path, pick(3) ? srtgen::generate(1 + pick(30), srtgen::Flavour::Ascii) : randomText(8));
    }
  }

  // The player's position, for the capture buttons.
  void moveThePlayer() {
    static const double kPositions[] = {0,     0.0004, 1.5, 59.9995, 3599.9996,
                                        86400, -2,     1e9, 123.456};
    player_.setPosition(pick(3) ? kPositions[pick(std::size(kPositions))]
                                : std::ldexp(static_cast<double>(random_()), -16));
  }

  // Only Exit or the main window's close box end the program, and only when the user
  // answered Yes (and the file was written) or No, or there was nothing to lose.
  void checkEnding(bool mainWasOpen, const Leaving& leaving, std::size_t boxesBefore) {
    ASSERT_TRUE(leaving.exitAction || !mainWasOpen) << last_;
    if (!leaving.exitAction) return;  // the splash closed before the main window opened
    ++endings_;
    std::optional<Answer> answer;
    for (std::size_t i = boxesBefore; i < prompts_.shown.size(); ++i) {
      if (prompts_.shown[i].text == kSavePrompt) answer = prompts_.shown[i].answer;
    }
    ASSERT_TRUE((!answer && leaving.changes == 0) || answer == Answer::Yes || answer == Answer::No)
        << last_;
    if (answer == Answer::Yes) {
      const std::string path = leaving.file.empty() ? lastSavePath() : leaving.file;
      EXPECT_EQ(readFile(path), encodeText(leaving.savedText, leaving.encoding).bytes)
          << "the work saved on leaving";
      ++savedEndings_;
    }
  }

  void checkWindow(const Form2& now) {
    const std::string problem = invariants::windowProblem(now);
    ASSERT_EQ(problem, "") << last_;
    if (last_ == "menu OpenSrt" || performed_ % 64 == 0) {
      long entries = 0;
      for (int k = 0; k <= EntryStore::kLast; ++k) entries += now.document().store.at(k).present();
      largestStore_ = std::max(largestStore_, entries);
      if (last_ == "menu OpenSrt" && entries > 0 && !now.document().CurrentFile.empty()) ++loads_;
    }
  }

  // The path the last save dialog returned.
  std::string lastSavePath() const {
    for (auto it = dialogs_.shown.rbegin(); it != dialogs_.shown.rend(); ++it) {
      if (it->kind == DialogKind::Save) return it->choice.value_or("");
    }
    return "";
  }

  fake::TempFolder temp_{"obrel-random"};
  const fs::path& folder_ = temp_.path();
  fs::path previousFolder_;
  std::vector<std::string> paths_;
  std::mt19937 random_;
  fake::QueuedPrompts prompts_;
  fake::QueuedDialogs dialogs_;
  EventGate gate_;
  fake::ScriptedPlayer player_;
  fake::RecordingBrowser browser_;
  RealFileSystem files_;
  std::unique_ptr<Program> program_;
  std::string last_;
};

// 8 runs of 3000 actions: 24,000 actions in all.
TEST_F(RandomActions, NoActionCrashesCorruptsOrEndsTheProgramUnasked) {
  for (std::uint32_t start : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    run(start, kActionsPerRun);
    if (HasFailure()) break;
  }
  EXPECT_EQ(performed_, 8 * kActionsPerRun);
  std::cout << "[ actions  ] " << performed_ << " random actions; " << endings_
            << " ended the program (" << savedEndings_ << " after saving); stores of up to "
            << largestStore_ << " entries; " << loads_ << " Opens loaded a file\n";
}

}  // namespace
}  // namespace obrel
