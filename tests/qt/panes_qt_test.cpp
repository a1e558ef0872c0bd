// What the user sees of the windows: the help-text pane uncovered and covered by the entry
// text's height, F12 opening the Help window with the shipped help file, and every label's
// text fitting its label in the fonts this machine resolves.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <optional>

#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;

namespace {

// The widget on top at a point of control, as the user sees and clicks it.
QWidget* topAt(QtForm& view, QWidget* control, QPoint at) {
  return view.client()->childAt(control->mapTo(view.client(), at));
}

bool isOrHolds(QWidget* control, QWidget* hit) {
  return hit && (hit == control || control->isAncestorOf(hit));
}

// Label texts whose ink is cut by the label's edges, as "Window.Label: why".
QStringList clippedLabels(QtForm& view) {
  QStringList clipped;
  for (Control* c : view.form()->controls()) {
    if (c->kind() != ControlKind::Label) continue;
    auto* label = qobject_cast<QLabel*>(view.widget(c->name()));
    if (!label || label->text().isEmpty()) continue;
    const QFontMetrics metrics(label->font());
    // The ink as drawn from the label's top left corner (left and top aligned).
    const QRect ink = metrics.tightBoundingRect(label->text()).translated(0, metrics.ascent());
    const QRect room = label->contentsRect();
    if (!room.contains(ink)) {
      clipped << QStringLiteral("%1.%2 \"%3\": ink %4,%5 %6x%7 in %8x%9")
                     .arg(view.window()->objectName(), label->objectName(), label->text())
                     .arg(ink.x())
                     .arg(ink.y())
                     .arg(ink.width())
                     .arg(ink.height())
                     .arg(room.width())
                     .arg(room.height());
    }
  }
  return clipped;
}

QtForm* viewOf(QtProgram& p, Form* form) { return form ? p.view(form) : nullptr; }

}  // namespace

class PanesQtTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> w;

 private slots:
  void init() { w.emplace(); }
  void cleanup() { w.reset(); }

  void theEntryTextsHeightUncoversAndCoversTheHelpPane() {
    QtForm& view = w->view2();
    QWidget* text9 = w->widget("Text9");
    QWidget* text11 = w->widget("Text11");
    QVERIFY(QTest::qWaitForWindowExposed(view.window()));
    const QPoint middle = text11->rect().center();
    QVERIFY(isOrHolds(text9, topAt(view, text11, middle)));

    // A help file read into the pane shortens the entry text above it.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Scene 1\r\nShe enters.\r\n");
    file.close();
    qttest::whenModal([&path](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) return;
      // Qt leaves the name box alone while it has the focus.
      if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog keeps its own protected
    });
    w->run([this] { w->form2().OpenHelpText_Click(); });
    QCOMPARE(w->form2().Text9.height(), 1610);
    QCOMPARE(text9->height(), 107);
    QCOMPARE(text9->width(), text11->width());
    QVERIFY(text9->geometry().bottom() < text11->geometry().top());
    QVERIFY(!text9->geometry().intersects(text11->geometry()));
    QVERIFY(text11->isVisible());
    for (const QPoint at : {middle, text11->rect().topLeft() + QPoint(2, 2),
                            text11->rect().bottomRight() - QPoint(2, 2)}) {
      QVERIFY(isOrHolds(text11, topAt(view, text11, at)));
    }
    QCOMPARE(qobject_cast<QPlainTextEdit*>(text11)->toPlainText(),
             QStringLiteral("Scene 1\nShe enters.\n"));

    // Off: the entry text grows back over the whole pane, which keeps its text.
    w->run([this] { w->form2().HelpTextOff_Click(); });
    QCOMPARE(text9->height(), 201);
    QCOMPARE(text9->geometry().bottom(), text11->geometry().bottom());
    QVERIFY(text9->geometry().contains(text11->geometry()));
    for (const QPoint at : {middle, text11->rect().topLeft() + QPoint(2, 2),
                            text11->rect().bottomRight() - QPoint(2, 2)}) {
      QVERIFY(isOrHolds(text9, topAt(view, text11, at)));
    }
    // On again: the same text shows without a file dialog.
    w->run([this] { w->form2().HelpTextOn_Click(); });
    QCOMPARE(text9->height(), 107);
    QVERIFY(isOrHolds(text11, topAt(view, text11, middle)));
    QCOMPARE(qobject_cast<QPlainTextEdit*>(text11)->toPlainText(),
             QStringLiteral("Scene 1\nShe enters.\n"));
  }

  void f12OpensTheHelpWindowWithTheShippedHelpFile() {
    QFile help(QDir(QCoreApplication::applicationDirPath())
                   .filePath(QStringLiteral("Support/Help/Obrel_help.txt")));
    QVERIFY2(help.open(QIODevice::ReadOnly), "Support/ is not beside the test");
    const QByteArray content = help.readAll();
    QVERIFY(!content.isEmpty());

    QVERIFY(w->activate());
    QTest::keyClick(w->view2().window(), Qt::Key_F12);
    Program& program = w->program().program();
    QVERIFY(program.form3());
    const std::vector<Form*> open = program.windows();
    QVERIFY(std::find(open.begin(), open.end(), program.form3()) != open.end());
    QCOMPARE(program.active(), program.form3());

    QWidget* shown = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == QLatin1String("Form3") && top->isVisible()) shown = top;
    }
    QVERIFY(shown);
    QCOMPARE(shown->windowTitle(), QStringLiteral("Help"));
    QtForm* view3 = w->program().view(program.form3());
    QCOMPARE(shown, view3->window());
    QCOMPARE(program.form3()->Text1.text(), content.toStdString());
    auto* text = qobject_cast<QPlainTextEdit*>(view3->widget("Text1"));
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    const QString lines =
        QString::fromUtf8(content).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(text->toPlainText(), lines);
  }

  void everyLabelShowsItsWholeText() {
    QtProgram& p = w->program();
    w->run([&p] { p.program().showHelp(); });
    w->run([&p] { p.program().showAbout(); });
    QStringList clipped;
    int windows = 0;
    for (Form* form : p.program().windows()) {
      QtForm* view = viewOf(p, form);
      QVERIFY(view);
      ++windows;
      clipped << clippedLabels(*view);
    }
    QCOMPARE(windows, 3);
    // The splash comes before the main window; it has pictures only, and is checked all
    // the same.
    w.reset();
    QtProgram splashOnly;
    splashOnly.startWithSplash();
    QtForm* splash = viewOf(splashOnly, splashOnly.program().form1());
    QVERIFY(splash);
    clipped << clippedLabels(*splash);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("\n"))));
  }
};

QTEST_MAIN(PanesQtTest)
#include "panes_qt_test.moc"
