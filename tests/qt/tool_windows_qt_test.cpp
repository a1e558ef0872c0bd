// Tool windows in the real program: Shift Times driven by keys alone, the widgets of check boxes
// (on the sample window of the tests), option buttons and combo boxes over their models, Enter
// and Escape, a window that belongs to the main window, and a modal one that blocks the others
// without waiting.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QWindow>
#include <QtTest>
#include <optional>

#include "document/entry_times.h"
#include "platform/key_names.h"
#include "shell/form6.h"
#include "shell/form8.h"
#include "shell/form9.h"
#include "testing/sample_windows.h"
#include "testing/window_setup.h"
#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;

class ToolWindowsQtTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> w;

  Program& program() { return w->program().program(); }
  Form6& six() { return *dynamic_cast<Form6*>(program().toolWindow("Form6")); }
  fake::SampleToolWindow& sample() {
    return *dynamic_cast<fake::SampleToolWindow*>(program().toolWindow("Form9"));
  }
  QtForm* view(const char* form) { return w->program().view(program().toolWindow(form)); }
  template <class W = QWidget>
  W* widget(const char* form, const char* name) {
    return qobject_cast<W*>(view(form)->widget(name));
  }
  void open(const char* form) {
    w->run([this, form] { program().showToolWindow(form); });
    QVERIFY(view(form));
    QVERIFY(QTest::qWaitForWindowActive(view(form)->window()));
  }
  // Two entries, 1 s to 2 s and 3 s to 4 s, the first one shown.
  void loadTwoEntries() {
    EntryStore store;
    for (int k : {1, 2}) {
      writeTimes(store.edit(k), k * 2000 - 1000, k * 2000, 0);
      store.edit(k).EntryText = "Entry " + std::to_string(k);
    }
    w->run([this, &store] {
      fake::takeDocument(w->form2(), std::move(store));
      w->form2().showEntryAt(1);
    });
  }
  // A click that comes through the window system, as a user's does: a window a modal one
  // blocks does not get it.
  static void userClick(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
  }

 private slots:
  void init() {
    w.emplace();
    fake::declareSampleWindow(program());
    QVERIFY(w->activate());
  }
  void cleanup() { w.reset(); }

  // Shift Times by keys alone: Ctrl+Shift+T from a time field (which never sees it), the
  // amount typed through the time-field rules, Enter to shift, Ctrl+Z to take it back,
  // Escape to close.
  void shiftTimesByKeys() {
    loadTwoEntries();
    w->focus(w->form2().Text1);
    QTest::keyClick(w->widget("Text1"), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(view("Form6"));
    QCOMPARE(w->form2().Text1.text(), "00");
    QVERIFY(QTest::qWaitForWindowActive(view("Form6")->window()));
    QCOMPARE(six().focus(), &six().Text1);
    // Minutes take no 7 first; each full box hands the focus on. Offscreen, the widget focus
    // may lag behind the window's: each key goes to the box the model has the focus in.
    for (const char key : std::string("0070000750")) {
      QTest::keyClicks(widget("Form6", six().focus()->name().c_str()), QString(QChar(key)));
    }
    QCOMPARE(six().Text1.text(), "00");
    QCOMPARE(six().Text2.text(), "00");
    QCOMPARE(six().Text3.text(), "00");
    QCOMPARE(six().Text4.text(), "750");
    QCOMPARE(six().focus(), &six().Text4);
    QTest::mouseClick(widget("Form6", "Option4"), Qt::LeftButton);  // Earlier
    QTest::keyClick(widget("Form6", "Text4"), Qt::Key_Return);
    const Document& document = w->form2().document();
    QCOMPARE(document.store.at(1).EntryTiming, "00:00:00,250 --> 00:00:01,250");
    QCOMPARE(document.store.at(2).EntryTiming, "00:00:02,250 --> 00:00:03,250");
    QCOMPARE(w->form2().Text4.text(), "250");
    QCOMPARE(w->widget<QLineEdit>("Text4")->text(), QStringLiteral("250"));
    // Once more would put entry 1 before the start: the message, and nothing changes.
    bool told = false;
    qttest::whenModal([&told](QWidget* box) {
      told = true;
      qobject_cast<QDialog*>(box)->accept();
    });
    QTest::keyClick(widget("Form6", "Text4"), Qt::Key_Return);
    QVERIFY(told);
    QCOMPARE(document.store.at(1).EntryTiming, "00:00:00,250 --> 00:00:01,250");
    // Outside a box (where Ctrl+Z is the box's own undo) the window takes Undo's keys.
    view("Form6")->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view("Form6")->window()));
    QTest::keyClick(widget("Form6", "Option1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->form2().Redo.caption(), "Redo Shift Times");
    QCOMPARE(document.store.at(1).EntryTiming, "00:00:01,000 --> 00:00:02,000");
    QTest::keyClick(widget("Form6", "Text4"), Qt::Key_Escape);
    QCOMPARE(program().toolWindow("Form6"), nullptr);
  }

  void aToolWindowBelongsToTheMainWindow() {
    open("Form6");
    QWidget* window = view("Form6")->window();
    QCOMPARE(window->windowType(), Qt::Tool);
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->windowHandle()->transientParent(), w->view2().window()->windowHandle());
    QVERIFY(widget<QRadioButton>("Form6", "Option1")->isChecked());
    QVERIFY(widget<QPushButton>("Form6", "Command1")->isDefault());
    // Help belongs to the main window too, without being a tool window.
    QTest::keyClick(w->widget("Text1"), Qt::Key_F12);
    QWidget* help = w->program().view(program().form3())->window();
    QCOMPARE(help->windowHandle()->transientParent(), w->view2().window()->windowHandle());
    QCOMPARE(help->windowType(), Qt::Window);
  }

  void enterAndEscapePressTheDefaultAndCancelButtons() {
    open("Form9");
    QVERIFY(!widget<QCheckBox>("Form9", "Check2")->isEnabled());
    auto* text1 = widget<QLineEdit>("Form9", "Text1");
    w->run([this] { sample().setFocus(&sample().Text1); });
    QTest::keyClicks(text1, "1a2");
    QCOMPARE(text1->text(), QStringLiteral("12"));
    QCOMPARE(sample().Text1.text(), "12");
    QTest::keyClick(text1, Qt::Key_Return);
    QCOMPARE(sample().Label1.caption(), "Text1=12 Check1=off");
    // A multi-line box takes Enter as a new line.
    w->run([this] {
      sample().Label1.setCaption("");
      sample().setFocus(&sample().Text2);
    });
    QTest::keyClicks(widget("Form9", "Text2"), "a");
    QTest::keyClick(widget("Form9", "Text2"), Qt::Key_Return);
    QCOMPARE(sample().Text2.text(), "a\r\n");
    QCOMPARE(sample().Label1.caption(), "");
    // Enter on a check box presses the default button too; Escape closes the window.
    widget("Form9", "Check1")->setFocus();
    QTest::keyClick(widget("Form9", "Check1"), Qt::Key_Return);
    QVERIFY(!sample().Label1.caption().empty());
    QTest::keyClick(text1, Qt::Key_Escape);
    QCOMPARE(program().toolWindow("Form9"), nullptr);
  }

  void clicksMarkCheckBoxesAndOptionButtonsAsTheModelSays() {
    open("Form9");
    auto* check = widget<QCheckBox>("Form9", "Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(sample().Check1.checked() && check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!sample().Check1.checked() && !check->isChecked());
    open("Form6");
    auto* option1 = widget<QRadioButton>("Form6", "Option1");
    auto* option2 = widget<QRadioButton>("Form6", "Option2");
    auto* option4 = widget<QRadioButton>("Form6", "Option4");
    QTest::mouseClick(option2, Qt::LeftButton);
    QVERIFY(six().Option2.checked() && !six().Option1.checked());
    QVERIFY(option2->isChecked() && !option1->isChecked());
    // A click on the selected one keeps it; another group leaves this one alone.
    QTest::mouseClick(option2, Qt::LeftButton);
    QVERIFY(option2->isChecked() && six().Option2.checked());
    QTest::mouseClick(option4, Qt::LeftButton);
    QVERIFY(option2->isChecked() && option4->isChecked() && six().Option4.checked());
  }

  void aComboBoxIsATextBoxWithAList() {
    open("Form8");
    auto& eight = *dynamic_cast<Form8*>(program().toolWindow("Form8"));
    auto* combo = widget<QComboBox>("Form8", "Combo1");
    QVERIFY(combo && combo->isEditable());
    QCOMPARE(combo->count(), 8);
    QCOMPARE(combo->currentText(), QStringLiteral("23.976"));
    w->run([&eight] { eight.setFocus(&eight.Combo1); });
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClicks(combo, "5.5");
    QCOMPARE(eight.Combo1.text(), "23.975.5");
    QCOMPARE(combo->count(), 8);  // typing adds nothing to the list
    // Choosing from the list sets the text.
    combo->setCurrentIndex(2);
    QCOMPARE(eight.Combo1.text(), "25");
    // The model's list and text reach the widget, the text kept when the list changes.
    w->run([&eight] {
      eight.Combo1.setText("30");
      eight.Combo1.setItems({"50", "60"});
    });
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QStringLiteral("60"));
    QCOMPARE(combo->currentText(), QStringLiteral("30"));
    QCOMPARE(eight.Combo1.text(), "30");
  }

  void aModalWindowBlocksTheOthersWithoutWaiting() {
    open("Form9");
    // The menu command returns at once, with the modal window up: no loop of its own runs.
    w->view2().window()->findChild<QAction*>(QStringLiteral("ChangeFrameRate"))->trigger();
    QtForm* eight = view("Form8");
    QVERIFY(eight && eight->window()->isVisible());
    QCOMPARE(eight->window()->windowModality(), Qt::WindowModal);
    QCOMPARE(eight->window()->windowHandle()->transientParent(),
             w->view2().window()->windowHandle());
    QVERIFY(QTest::qWaitForWindowActive(eight->window()));
    QCOMPARE(program().active(), program().toolWindow("Form8"));
    // Neither the main window nor the other tool window takes a user's click.
    userClick(w->widget("Command2"));
    userClick(widget("Form9", "Check1"));
    QCOMPARE(w->form2().CurrentIndex, 1);
    QVERIFY(!sample().Check1.checked());
    QTest::keyClick(eight->widget("Combo1"), Qt::Key_Escape);
    QCOMPARE(program().toolWindow("Form8"), nullptr);
    QCOMPARE(program().active(), program().toolWindow("Form9"));
    userClick(widget("Form9", "Check1"));
    QVERIFY(sample().Check1.checked());
    userClick(w->widget("Command2"));
    QCOMPARE(w->form2().CurrentIndex, 2);
  }

  void shortcutKeysAreSpeltAsQtSpellsThem() {
    for (const char* keys : {"Ctrl+Shift+T", "F3", "Shift+F3", "Ctrl+H", "Esc", "Del", "PgDown",
                             "Meta+Ctrl+Alt+Shift+X", "F35", "Return", "Space"}) {
      const std::optional<std::string> canonical = canonicalKeys(keys);
      QVERIFY2(canonical.has_value(), keys);
      const QString spelt = QString::fromStdString(*canonical);
      QCOMPARE(QKeySequence::fromString(spelt).toString(), spelt);
    }
  }

  // Find and Replace starts at the caret the user left in the entry text, and its match is
  // selected in the widget; Ctrl+H in the index box opens the window and is no Backspace.
  void findAndReplaceSearchesFromTheCaretAndSelectsInTheWidget() {
    // The program's own Form9, not the sample the other cases use.
    program().declareToolWindow(
        "Form9", [this](Form2& main) { return std::make_unique<Form9>(main, program()); });
    Form2& f = w->form2();
    // The widget counts a line break as one, the model as two (CR LF).
    w->run([&f] { fake::commitEntry(f, 1, "ab\r\none two one"); });
    auto* text9 = w->widget<QPlainTextEdit>("Text9");
    QTextCursor caret = text9->textCursor();
    caret.setPosition(7);
    text9->setTextCursor(caret);
    QCOMPARE(f.Text9.caret(), std::size_t{8});
    w->focus(f.Text10);
    QTest::keyClick(w->widget("Text10"), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(f.Text10.text(), "1");
    auto* nine = dynamic_cast<Form9*>(program().toolWindow("Form9"));
    QVERIFY(nine);
    QCOMPARE(nine->focus(), &nine->Text2);
    w->run([nine] { nine->Text1.setText("one"); });
    QTest::mouseClick(widget("Form9", "Command1"), Qt::LeftButton);
    QCOMPARE(text9->textCursor().selectionStart(), 11);
    QCOMPARE(text9->textCursor().selectedText(), QStringLiteral("one"));
    // F3 from the main window: round past the end to the first match.
    QTest::keyClick(w->widget("Text1"), Qt::Key_F3);
    QCOMPARE(text9->textCursor().selectionStart(), 3);
    QCOMPARE(f.Text9.selectionStart(), std::size_t{4});
    QCOMPARE(f.Text9.selectionLength(), std::size_t{3});
  }
};

QTEST_MAIN(ToolWindowsQtTest)
#include "tool_windows_qt_test.moc"
