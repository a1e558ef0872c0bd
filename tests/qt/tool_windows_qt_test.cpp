// Tool windows in the real program, on the sample windows of the tests: the widgets of check
// boxes, option buttons and combo boxes over their models, Enter and Escape, a window that
// belongs to the main window, and a modal one that blocks the others without waiting.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QWindow>
#include <QtTest>
#include <optional>

#include "platform/key_names.h"
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
  fake::SampleToolWindow& six() {
    return *dynamic_cast<fake::SampleToolWindow*>(program().toolWindow("Form6"));
  }
  QtForm* view(const char* form) { return w->program().view(program().toolWindow(form)); }
  template <class W = QWidget>
  W* widget(const char* form, const char* name) {
    return qobject_cast<W*>(view(form)->widget(name));
  }
  void openSix() {
    w->run([this] { program().showToolWindow("Form6"); });
    QVERIFY(view("Form6"));
    QVERIFY(QTest::qWaitForWindowActive(view("Form6")->window()));
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
    fake::declareSampleWindows(program());
    QVERIFY(w->activate());
  }
  void cleanup() { w.reset(); }

  void aToolWindowBelongsToTheMainWindow() {
    openSix();
    QWidget* window = view("Form6")->window();
    QCOMPARE(window->windowType(), Qt::Tool);
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->windowHandle()->transientParent(), w->view2().window()->windowHandle());
    QVERIFY(!widget<QCheckBox>("Form6", "Check2")->isEnabled());
    QVERIFY(widget<QRadioButton>("Form6", "Option1")->isChecked());
    QVERIFY(widget<QPushButton>("Form6", "Command1")->isDefault());
    auto* combo = widget<QComboBox>("Form6", "Combo1");
    QVERIFY(combo && combo->isEditable());
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("24"));
    // Help belongs to the main window too, without being a tool window.
    QTest::keyClick(w->widget("Text1"), Qt::Key_F12);
    QWidget* help = w->program().view(program().form3())->window();
    QCOMPARE(help->windowHandle()->transientParent(), w->view2().window()->windowHandle());
    QCOMPARE(help->windowType(), Qt::Window);
  }

  void enterAndEscapePressTheDefaultAndCancelButtons() {
    openSix();
    auto* text1 = widget<QLineEdit>("Form6", "Text1");
    w->run([this] { six().setFocus(&six().Text1); });
    QTest::keyClicks(text1, "1a2");
    QCOMPARE(text1->text(), QStringLiteral("12"));
    QCOMPARE(six().Text1.text(), "12");
    QTest::keyClick(text1, Qt::Key_Return);
    QCOMPARE(six().Label1.caption(), "Text1=12 Check1=off Option1 Combo1=24");
    // A multi-line box takes Enter as a new line.
    w->run([this] {
      six().Label1.setCaption("");
      six().setFocus(&six().Text2);
    });
    QTest::keyClicks(widget("Form6", "Text2"), "a");
    QTest::keyClick(widget("Form6", "Text2"), Qt::Key_Return);
    QCOMPARE(six().Text2.text(), "a\r\n");
    QCOMPARE(six().Label1.caption(), "");
    // Enter on a check box presses the default button too; Escape closes the window.
    widget("Form6", "Check1")->setFocus();
    QTest::keyClick(widget("Form6", "Check1"), Qt::Key_Return);
    QVERIFY(!six().Label1.caption().empty());
    QTest::keyClick(text1, Qt::Key_Escape);
    QCOMPARE(program().toolWindow("Form6"), nullptr);
  }

  void clicksMarkCheckBoxesAndOptionButtonsAsTheModelSays() {
    openSix();
    auto* check = widget<QCheckBox>("Form6", "Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(six().Check1.checked() && check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!six().Check1.checked() && !check->isChecked());
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
    openSix();
    auto* combo = widget<QComboBox>("Form6", "Combo1");
    w->run([this] { six().setFocus(&six().Combo1); });
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClicks(combo, "5.5");
    QCOMPARE(six().Combo1.text(), "25.5");
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(six().Label1.caption(), "Text1= Check1=off Option1 Combo1=25.5");
    QCOMPARE(combo->count(), 3);  // Enter added nothing to the list
    // Choosing from the list sets the text.
    combo->setCurrentIndex(0);
    QCOMPARE(six().Combo1.text(), "23.976");
    // The model's list and text reach the widget, the text kept when the list changes.
    w->run([this] {
      six().Combo1.setText("30");
      six().Combo1.setItems({"50", "60"});
    });
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QStringLiteral("60"));
    QCOMPARE(combo->currentText(), QStringLiteral("30"));
    QCOMPARE(six().Combo1.text(), "30");
  }

  void aModalWindowBlocksTheOthersWithoutWaiting() {
    openSix();
    // The click returns at once, with the modal window up: no loop of its own runs.
    QTest::mouseClick(widget("Form6", "Command3"), Qt::LeftButton);
    QtForm* seven = view("Form7");
    QVERIFY(seven && seven->window()->isVisible());
    QCOMPARE(seven->window()->windowModality(), Qt::WindowModal);
    QCOMPARE(seven->window()->windowHandle()->transientParent(),
             w->view2().window()->windowHandle());
    QVERIFY(QTest::qWaitForWindowActive(seven->window()));
    QCOMPARE(program().active(), program().toolWindow("Form7"));
    // Neither the main window nor the other tool window takes a user's click.
    userClick(w->widget("Command2"));
    userClick(widget("Form6", "Check1"));
    QCOMPARE(w->form2().CurrentIndex, 1);
    QVERIFY(!six().Check1.checked());
    QTest::keyClicks(seven->widget("Text1"), "42");
    QTest::keyClick(seven->widget("Text1"), Qt::Key_Return);
    QCOMPARE(program().toolWindow("Form7"), nullptr);
    QCOMPARE(six().Label1.caption(), "OK 42");
    QCOMPARE(program().active(), program().toolWindow("Form6"));
    userClick(widget("Form6", "Check1"));
    QVERIFY(six().Check1.checked());
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
