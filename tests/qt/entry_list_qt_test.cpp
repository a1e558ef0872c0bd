// The entry list window and the Edit menu's Undo and Redo in the real program: F11, the
// table over the store, Enter and a double click on a row, the undo keys in the list, and its
// place beside the main window.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QWindow>
#include <QtTest>
#include <optional>

#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;

class EntryListQtTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> w;

  Program& program() { return w->program().program(); }
  QtForm* listView() { return w->program().view(program().form5()); }
  QTableView* table() { return qobject_cast<QTableView*>(listView()->widget("List1")); }
  QString cell(int row, int column) {
    return table()->model()->index(row, column).data().toString();
  }
  int selectedRow() {
    const QModelIndexList rows = table()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
  }
  // Entries 1, 2 and 4, committed as a user would; the editor ends on entry 4.
  void commitThree() {
    w->run([this] {
      Form2& f = w->form2();
      for (const char* k : {"1", "2", "4"}) {
        f.setIndexBox(k);
        for (TextBox* b : {&f.Text1, &f.Text2, &f.Text5, &f.Text6}) b->setText("00");
        f.Text3.setText(std::string("0") + k);
        f.Text7.setText(std::string("0") + k);
        f.Text4.setText("000");
        f.Text8.setText("500");
        f.Text9.setText(std::string("Entry ") + k + "\r\nsecond line");
        f.Command3_Click();
      }
    });
  }
  void openList() {
    QTest::keyClick(w->widget("Text1"), Qt::Key_F11);
    QVERIFY(program().form5());
    QVERIFY(QTest::qWaitForWindowActive(listView()->window()));
  }

 private slots:
  void init() {
    w.emplace();
    QVERIFY(w->activate());
  }
  void cleanup() { w.reset(); }

  void theEditAndViewMenusHoldTheNewItems() {
    QtForm& v = w->view2();
    const QList<QAction*> edit = v.action("Edit")->menu()->actions();
    QCOMPARE(edit.size(), 8);
    QCOMPARE(edit[0], v.action("Undo"));
    QCOMPARE(edit[1], v.action("Redo"));
    QVERIFY(edit[2]->isSeparator());
    QCOMPARE(edit[3], v.action("InsertNewEntry"));
    QVERIFY(edit[6]->isSeparator());
    QCOMPARE(edit[7], v.action("FindAndReplace"));
    QCOMPARE(v.action("FindAndReplace")->shortcut(), QKeySequence(QKeySequence::Find));
    QCOMPARE(v.action("Undo")->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(v.action("Redo")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QVERIFY(!v.action("Undo")->isEnabled());
    const QList<QAction*> bar = v.menuBar()->actions();
    QCOMPARE(bar.indexOf(v.action("View")), bar.indexOf(v.action("Options")) + 1);
    QCOMPARE(v.action("EntryList")->shortcut(), QKeySequence(Qt::Key_F11));
    commitThree();
    QCOMPARE(v.action("Undo")->text(), QStringLiteral("Undo Commit"));
    QVERIFY(v.action("Undo")->isEnabled());
  }

  void theListShowsTheStoreAndFollowsTheEditor() {
    commitThree();
    openList();
    QCOMPARE(listView()->window()->windowTitle(), QStringLiteral("Entries"));
    QCOMPARE(table()->model()->rowCount(), 3);
    QCOMPARE(table()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("#"));
    QCOMPARE(cell(2, 0), QStringLiteral("4"));
    QCOMPARE(cell(2, 1), QStringLiteral("00:00:04,000"));
    QCOMPARE(cell(2, 2), QStringLiteral("00:00:04,500"));
    QCOMPARE(cell(2, 3), QStringLiteral("Entry 4 / second line"));
    QCOMPARE(selectedRow(), 2);
    // "<" in the main window moves the selection with CurrentIndex, after the event.
    QTest::mouseClick(w->widget("Command1"), Qt::LeftButton);
    QCOMPARE(selectedRow(), -1);  // entry 3 is empty: no row
    QTest::mouseClick(w->widget("Command1"), Qt::LeftButton);
    QCOMPARE(selectedRow(), 1);
  }

  void enterOrADoubleClickShowsTheEntryAndUndoKeysReachTheMenu() {
    Form2& f = w->form2();
    commitThree();
    openList();
    QTableView* t = table();
    t->setCurrentIndex(t->model()->index(0, 1));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(f.CurrentIndex, 1);
    QCOMPARE(w->widget<QLineEdit>("Text10")->text(), QStringLiteral("1"));
    QCOMPARE(f.Text9.text(), std::string("Entry 1\r\nsecond line"));
    QCOMPARE(program().active(), &f);
    QVERIFY(!w->widget("Command3")->isEnabled());  // "OK" kept its state

    const QRect second = t->visualRect(t->model()->index(1, 3));
    // A click first, as a user's double click starts: QTest's double click alone has no press.
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(f.CurrentIndex, 1);  // a single click picks nothing
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(f.CurrentIndex, 2);

    // Ctrl+Z in the list is the main window's Undo: the commit of entry 4 goes.
    QVERIFY(listView()->window()->isVisible());
    listView()->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(listView()->window()));
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.document().store.at(4).empty());
    QCOMPARE(t->model()->rowCount(), 2);
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(t->model()->rowCount(), 3);
    QCOMPARE(selectedRow(), 2);
  }

  // Beside the main window where the screen has room, and kept above it.
  void theListOpensBesideTheMainWindowAndBelongsToIt() {
    QWidget* main = w->view2().window();
    const QRect free = main->screen()->availableGeometry();
    if (free.width() < 1800) QSKIP("needs a screen with room beside the main window");
    main->move(free.topLeft());
    openList();
    QWidget* list = listView()->window();
    QCOMPARE(list->windowHandle()->transientParent(), main->windowHandle());
    QCOMPARE(list->windowType(), Qt::Tool);
    QVERIFY(free.contains(list->frameGeometry()));
    QCOMPARE(list->frameGeometry().left(), main->frameGeometry().right() + 1);
  }

  void theListClosesWithTheMainWindow() {
    openList();
    QWidget* list = listView()->window();
    w->view2().window()->close();
    QVERIFY(program().ended());
    QVERIFY(!list->isVisible());
  }
};

QTEST_MAIN(EntryListQtTest)
#include "entry_list_qt_test.moc"
