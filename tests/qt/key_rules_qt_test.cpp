// The time fields' key rules in the real window's line edits: keys typed where the focus is,
// as a user types them, while the rules move the focus under the keys.
#include <QAction>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;
using obrel::qttest::whenModal;

class KeyRulesQtTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> w;

  QLineEdit* box(const char* name) { return w->widget<QLineEdit>(name); }
  QString shown(const char* name) { return box(name)->text(); }
  // Each key goes to the widget that has the focus when it is pressed.
  void type(const char* keys) {
    for (const char* k = keys; *k; ++k) {
      QWidget* target = QApplication::focusWidget();
      QVERIFY2(target, "no widget has the focus");
      QTest::keyClick(target, *k);
    }
  }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the focus");
    QTest::keyClick(target, key, modifiers);
  }
  bool focusIn(const char* name) {
    return QApplication::focusWidget() == w->widget(name) &&
           w->form2().focus() == w->form2().findTextBox(name);
  }
  void setText(TextBox& field, const char* text) {
    w->run([&field, text] { field.setText(text); });
  }

 private slots:
  void init() {
    w.emplace();
    QVERIFY(w->activate());
  }
  void cleanup() { w.reset(); }

  void aRunOfDigitsFillsTheWholeStartTime() {
    Form2& f = w->form2();
    w->focus(f.Text1);
    QVERIFY(focusIn("Text1"));
    QVERIFY(!w->widget("Command3")->isEnabled());
    // The second digit of each field lands in it while the focus has already moved on.
    type("012345678");
    QCOMPARE(shown("Text1"), QStringLiteral("01"));
    QCOMPARE(shown("Text2"), QStringLiteral("23"));
    QCOMPARE(shown("Text3"), QStringLiteral("45"));
    QCOMPARE(shown("Text4"), QStringLiteral("678"));
    QCOMPARE(f.Text4.text(), std::string("678"));
    QVERIFY(focusIn("Text5"));
    QVERIFY(w->widget("Command3")->isEnabled());
    // A third digit in a full hours field is refused by its limit; the focus stays.
    w->focus(f.Text1);
    type("9");
    QCOMPARE(shown("Text1"), QStringLiteral("01"));
    QVERIFY(focusIn("Text1"));
  }

  void theFirstDigitRuleLooksAtEmptinessNotAtTheCaret() {
    Form2& f = w->form2();
    // An empty seconds field refuses 7; 0 then 7 makes "07".
    w->focus(f.Text3);
    type("7");
    QCOMPARE(shown("Text3"), QStringLiteral(""));
    QVERIFY(focusIn("Text3"));
    type("07");
    QCOMPARE(shown("Text3"), QStringLiteral("07"));
    QVERIFY(focusIn("Text4"));

    // "5" with the caret before it: 9 is kept, lands before the 5, and the focus moves on.
    setText(f.Text3, "5");
    w->focus(f.Text3);
    press(Qt::Key_Home);
    QCOMPARE(box("Text3")->cursorPosition(), 0);
    type("9");
    QCOMPARE(shown("Text3"), QStringLiteral("95"));
    QCOMPARE(f.Text3.text(), std::string("95"));
    QVERIFY(focusIn("Text4"));

    // A fully selected "59" is replaced by a 7: the field was not empty.
    setText(f.Text3, "59");
    w->focus(f.Text3);
    box("Text3")->selectAll();
    type("7");
    QCOMPARE(shown("Text3"), QStringLiteral("7"));
    QCOMPARE(f.Text3.text(), std::string("7"));
    QVERIFY(focusIn("Text3"));
  }

  void droppedKeysStillEnableOkAndMoveTheFocusOn() {
    Form2& f = w->form2();
    setText(f.Text2, "3");
    w->focus(f.Text2);
    type("a");
    QCOMPARE(shown("Text2"), QStringLiteral("3"));
    QVERIFY(focusIn("Text3"));
    QVERIFY(w->widget("Command3")->isEnabled());

    w->focus(f.Text2);
    press(Qt::Key_Return);
    QCOMPARE(shown("Text2"), QStringLiteral("3"));
    QVERIFY(focusIn("Text3"));

    // Backspace is kept: it removes the character in the field it was typed into.
    w->focus(f.Text2);
    press(Qt::Key_Backspace);
    QCOMPARE(shown("Text2"), QStringLiteral(""));
    QCOMPARE(f.Text2.text(), std::string(""));
    QVERIFY(focusIn("Text3"));
  }

  void thePasteCombinationNeverLandsInATimeField() {
    Form2& f = w->form2();
    QGuiApplication::clipboard()->setText(QStringLiteral("12"));
    // The same keys paste into the entry text, so the clipboard works here.
    w->focus(f.Text9);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Text9.text(), std::string("12"));

    w->focus(f.Text6);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown("Text6"), QStringLiteral(""));
    QCOMPARE(f.Text6.text(), std::string(""));
    setText(f.Text6, "4");
    w->focus(f.Text6);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown("Text6"), QStringLiteral("4"));
    QVERIFY(focusIn("Text7"));
  }

  void theUndoKeysInABoxAreItsOwnAndOutsideOneTheMenus() {
    Form2& f = w->form2();
    // A commit of entry 1, which Edit > Undo would take back; then the empty entry 2.
    w->run([&f] {
      for (TextBox* b : {&f.Text1, &f.Text2, &f.Text3, &f.Text5, &f.Text6, &f.Text7}) {
        b->setText("00");
      }
      f.Text4.setText("000");
      f.Text8.setText("500");
      f.Text9.setText("One");
      f.Command3_Click();
      f.setIndexBox("2");
    });
    QCOMPARE(f.Undo.caption(), std::string("Undo Commit"));
    const int changes = f.ChangeCount;

    // In a time field Ctrl+Z takes back the typing; the key rule, which would move the
    // focus on from a field holding one character, never sees it.
    w->focus(f.Text2);
    type("3");
    QVERIFY(focusIn("Text2"));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown("Text2"), QStringLiteral(""));
    QCOMPARE(f.Text2.text(), std::string(""));
    QVERIFY(focusIn("Text2"));
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.Text2.text(), std::string("3"));
    QVERIFY(focusIn("Text2"));
    QCOMPARE(f.ChangeCount, changes);
    QCOMPARE(f.document().store.at(1).EntryText, std::string("One"));

    // Outside a box the keys are the menu's.
    QWidget* button = w->widget("Command2");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.document().store.at(1).empty());
    QCOMPARE(f.ChangeCount, changes + 1);
    QCOMPARE(w->view2().action("Undo")->text(), QStringLiteral("Undo"));
    QCOMPARE(w->view2().action("Redo")->text(), QStringLiteral("Redo Commit"));
    QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.document().store.at(1).EntryText, std::string("One"));
  }

  // A user's way through: a commit, a look at the Edit menu, Next >>, a digit and Ctrl+Z.
  // The box takes its digit back as in a fresh window.
  void undoAfterACommitTheEditMenuAndNextTakesBackTheDigit() {
    Form2& f = w->form2();
    w->focus(f.Text1);
    type("000001000000002000");
    w->focus(f.Text9);
    QTest::keyClicks(w->widget("Text9"), "One");
    QTest::mouseClick(w->widget("Command3"), Qt::LeftButton);
    QMenuBar* bar = w->view2().menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(w->view2().action("Edit")).center());
    QWidget* menu = QApplication::activePopupWidget();
    QVERIFY(menu);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::mouseClick(w->widget("Command4"), Qt::LeftButton);
    QCOMPARE(f.CurrentIndex, 2);
    QTest::mouseClick(w->widget("Text2"), Qt::LeftButton);
    type("3");
    QCOMPARE(shown("Text2"), QStringLiteral("3"));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown("Text2"), QStringLiteral(""));
    QCOMPARE(f.Text2.text(), std::string(""));
    QCOMPARE(f.document().store.at(1).EntryText, std::string("One"));
  }

  void fieldBlockSendsTheMillisecondsPastTheLockedEndHours() {
    Form2& f = w->form2();
    // Options > Field Block asks for the hours in its input box.
    whenModal([](QWidget* dialog) {
      auto* input = qobject_cast<QInputDialog*>(dialog);
      QVERIFY(input);
      input->setTextValue(QStringLiteral("7"));
      input->accept();
    });
    w->view2().action("FBlock")->trigger();
    QVERIFY(f.FBlock.checked());
    QVERIFY(w->activate());
    QVERIFY(!box("Text1")->isEnabled());
    QVERIFY(!box("Text5")->isEnabled());
    QCOMPARE(shown("Text5"), QStringLiteral("07"));

    w->focus(f.Text4);
    type("123");
    QCOMPARE(shown("Text4"), QStringLiteral("123"));
    QVERIFY(focusIn("Text6"));
    // A locked field cannot take the focus, so no key reaches it.
    QTest::mouseClick(box("Text5"), Qt::LeftButton);
    QVERIFY(focusIn("Text6"));
    QCOMPARE(shown("Text5"), QStringLiteral("07"));

    // Field Block off: the end hours are the next field again.
    w->view2().action("FBlock")->trigger();
    QVERIFY(!f.FBlock.checked());
    QVERIFY(box("Text5")->isEnabled());
    setText(f.Text4, "");
    w->focus(f.Text4);
    type("456");
    QCOMPARE(shown("Text4"), QStringLiteral("456"));
    QVERIFY(focusIn("Text5"));
  }
};

QTEST_MAIN(KeyRulesQtTest)
#include "key_rules_qt_test.moc"
