// What a screen reader finds in the windows: walking each window's accessibility tree, every
// control that takes the focus and every button has a name, each model's names reach its
// widgets, and the labels that name boxes are their buddies.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSet>
#include <QtTest>
#include <vector>

#include "platform/qt/qt_form.h"
#include "testing/sample_windows.h"
#include "tests/qt/real_window.h"

using namespace obrel;

namespace {

using obrel::qttest::RealWindow;

void walk(QAccessibleInterface* iface, std::vector<QAccessibleInterface*>& out) {
  if (!iface) return;
  out.push_back(iface);
  for (int i = 0; i < iface->childCount(); ++i) walk(iface->child(i), out);
}

QString nameOf(QObject* object) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  return iface ? iface->text(QAccessible::Name) : QString();
}

// A widget of its window that a screen reader reaches by keyboard or must tell apart. The
// menu bar speaks for its own parts (its overflow button among them) through its items; a
// widget that never shows (a table's corner button without row headers) is never reached.
bool needsName(QWidget* w) {
  if (w->isWindow() || qobject_cast<QMenuBar*>(w->parentWidget())) return false;
  if (!w->isVisibleTo(w->window())) return false;
  return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w);
}

// What a screen reader would miss in view's window: focusable controls and buttons without a
// name, and any that the walk from the window never reaches.
QStringList unnamed(const QtForm& view, int& checked) {
  std::vector<QAccessibleInterface*> tree;
  walk(QAccessible::queryAccessibleInterface(view.window()), tree);
  QStringList missing;
  QSet<QObject*> reached;
  for (QAccessibleInterface* iface : tree) {
    auto* w = qobject_cast<QWidget*>(iface->object());
    if (!w || w == view.window()) continue;
    reached.insert(w);
    const bool mustSay = iface->state().focusable || iface->role() == QAccessible::Button ||
                         qobject_cast<QAbstractButton*>(w);
    if (!mustSay) continue;
    ++checked;
    const QString where = QString::fromStdString(view.form()->name()) + u'.' + w->objectName();
    if (iface->text(QAccessible::Name).trimmed().isEmpty()) missing << where + " has no name";
    // A button showing a picture alone tells what it does only in its tooltip.
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (button && button->text().isEmpty() && button->toolTip().isEmpty())
      missing << where + " has no tooltip";
  }
  for (QWidget* w : view.window()->findChildren<QWidget*>()) {
    if (needsName(w) && !reached.contains(w)) missing << w->objectName() + " is not in the tree";
  }
  return missing;
}

// Where the model's names and buddies did not reach the widgets.
QStringList misapplied(const QtForm& view) {
  QStringList wrong;
  for (const Control* c : view.form()->controls()) {
    QWidget* w = view.widget(c->name());
    // A combo box is named after its text; its edit carries the name.
    if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
    if (!c->accessibleName.empty() && nameOf(w) != QString::fromStdString(c->accessibleName))
      wrong << QString::fromStdString(c->name()) + " is named " + nameOf(w);
    if (c->buddy.empty()) continue;
    auto* label = qobject_cast<QLabel*>(w);
    if (!label || label->buddy() != view.widget(c->buddy))
      wrong << QString::fromStdString(c->name()) + " is not the buddy of " + c->buddy.c_str();
  }
  return wrong;
}

// The texts of the labels the box's accessibility interface says it is labelled by.
QStringList labelsOf(QWidget* box) {
  QStringList labels;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
  for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
    labels << other->text(QAccessible::Name);
  }
  return labels;
}

}  // namespace

class AccessibilityQtTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // As when a screen reader is listening, though offscreen none is.
    QAccessible::setActive(true);
  }

  void everyFocusableControlAndButtonHasAName() {
    QStringList problems;
    int checked = 0;
    int windows = 0;
    auto check = [&](RealWindow& real) {
      for (Form* form : real.program().program().windows()) {
        QtForm* view = real.program().view(form);
        QVERIFY(view);
        ++windows;
        problems << unnamed(*view, checked) << misapplied(*view);
      }
    };
    {
      // Help, About and every tool window the program declares.
      RealWindow real;
      real.run([&real] {
        Program& program = real.program().program();
        program.showHelp();
        program.showAbout();
        for (const char* tool : {"Form5", "Form6", "Form7", "Form8", "Form9"}) {
          program.showToolWindow(tool);
        }
      });
      check(real);
    }
    {
      RealWindow real(RealWindow::Start::Nothing);
      real.program().startWithSplash();
      check(real);
    }
    {
      // The kinds of control no tool window of the program holds yet.
      RealWindow real;
      fake::declareSampleWindow(real.program().program());
      real.run([&real] { real.program().program().showToolWindow("Form9"); });
      windows -= 1;  // the main window again
      check(real);
    }
    QVERIFY2(windows >= 7, qPrintable(QString::number(windows)));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("\n"))));
    // The main window alone has 14 boxes and 9 buttons, besides the player's own.
    QVERIFY2(checked >= 23, qPrintable(QString::number(checked)));
  }

  void theTimeAndTextBoxesAreLabelledByTheirLabels() {
    RealWindow real;
    QCOMPARE(labelsOf(real.widget("Text1")), QStringList{QStringLiteral("From :")});
    QCOMPARE(labelsOf(real.widget("Text5")), QStringList{QStringLiteral("To")});
    QCOMPARE(labelsOf(real.widget("Text9")), QStringList{QStringLiteral("Text :")});
    QCOMPARE(nameOf(real.widget("Text1")), QStringLiteral("Start hours"));
  }
};

QTEST_MAIN(AccessibilityQtTest)
#include "accessibility_qt_test.moc"
