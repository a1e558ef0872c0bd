// Spelling in the real window's entry text: a misspelt word typed into Text9 is underlined
// with a red wavy line, and a right-click on it offers its corrections; choosing one
// replaces the word as typing would. The test dictionaries come in through DICPATH.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>
#include <optional>

#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;

class SpellingQtTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> w;

  QPlainTextEdit* text9() { return w->widget<QPlainTextEdit>("Text9"); }
  // The underlined stretches of Text9, as "from-to".
  QStringList underlined() {
    QStringList out;
    for (QTextBlock b = text9()->document()->begin(); b.isValid(); b = b.next()) {
      for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
        if (r.format.underlineStyle() != QTextCharFormat::SpellCheckUnderline) continue;
        out << QStringLiteral("%1-%2")
                   .arg(b.position() + r.start)
                   .arg(b.position() + r.start + r.length);
      }
    }
    return out;
  }
  void closeMenus() {
    while (QWidget* open = QApplication::activePopupWidget()) open->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The spelling menu a right-click at character position of Text9 opens; nullptr when it
  // opens the box's usual menu only.
  QMenu* rightClickAt(int position) {
    closeMenus();
    QTextCursor at(text9()->document());
    at.setPosition(position);
    const QPoint point = text9()->cursorRect(at).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, point,
                            text9()->viewport()->mapToGlobal(point));
    QApplication::sendEvent(text9()->viewport(), &click);
    return text9()->findChild<QMenu*>(QStringLiteral("SpellingMenu"));
  }

 private slots:
  void init() {
    w.emplace();
    QVERIFY(w->activate());
  }
  void cleanup() {
    closeMenus();
    w.reset();
  }

  void aMisspeltWordIsUnderlinedAndCorrectedFromItsMenu() {
    QVERIFY(w->form2().Spelling.checked());
    w->focus(w->form2().Text9);
    // Only Text9 is checked: the same word in a time box is left alone.
    QTest::keyClicks(text9(), QStringLiteral("the wrold"));
    QTest::keyClick(text9(), Qt::Key_Return);
    QTest::keyClicks(text9(), QStringLiteral("<i>Helo</i> river"));
    QCOMPARE(underlined(), (QStringList{QStringLiteral("4-9"), QStringLiteral("13-17")}));

    // A word that is correct has no menu of its own.
    QVERIFY(!rightClickAt(1));
    QMenu* menu = rightClickAt(15);
    QVERIFY(menu);
    QAction* hello = nullptr;
    for (QAction* a : menu->actions()) {
      if (a->objectName() == QStringLiteral("Suggestion") && a->text() == QStringLiteral("Hello"))
        hello = a;
    }
    QVERIFY2(hello, "Hello is not offered");
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("AddToDictionary")));
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("Ignore")));

    // The word replaced in the box as typed: the model has it, OK is enabled as after typing.
    w->run([this] { w->form2().Command3.setEnabled(false); });
    hello->trigger();
    closeMenus();
    QCOMPARE(w->form2().Text9.text(), std::string("the wrold\r\n<i>Hello</i> river"));
    QVERIFY(w->widget("Command3")->isEnabled());
    QCOMPARE(underlined(), (QStringList{QStringLiteral("4-9")}));

    // Ignore takes the underline away for the run.
    menu = rightClickAt(6);
    QVERIFY(menu);
    menu->findChild<QAction*>(QStringLiteral("Ignore"))->trigger();
    closeMenus();
    QVERIFY(underlined().isEmpty());
  }
};

QTEST_MAIN(SpellingQtTest)
#include "spelling_qt_test.moc"
