// The common file dialogs on Qt's own QFileDialog: each name's dialog is made once and kept;
// every use starts with nothing selected, in the folder of the path it last returned (the
// current folder before that), and a cancel returns no path. The program's Open dialogs
// leave nothing on screen once answered.
#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>

#include "platform/qt/qt_file_dialogs.h"
#include "testing/temp_folder.h"
#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;
using obrel::qttest::whenModal;

namespace {

constexpr const char* kFilter = "Subtitle Files (*.srt)|*.srt|All Files (*.*)|*.*";

// What a use of the dialog saw when it came up.
struct Seen {
  QPointer<QFileDialog> dialog;
  QString folder;
  QStringList selected;
  QString filter;
};

// Answers the next modal dialog: notes what it shows, then does answer to it.
void answer(Seen& seen, std::function<void(QFileDialog&)> answer) {
  whenModal([&seen, answer = std::move(answer)](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    seen = {dialog, dialog->directory().absolutePath(), dialog->selectedFiles(),
            dialog->selectedNameFilter()};
    answer(*dialog);
  });
}

}  // namespace

class FileDialogsQtTest : public QObject {
  Q_OBJECT

 private slots:
  void aDialogIsKeptAndEachUseStartsAfresh() {
    QTemporaryDir here;
    QTemporaryDir there;
    QVERIFY(here.isValid() && there.isValid());
    QVERIFY(QFile(there.filePath(QStringLiteral("clip.srt"))).open(QIODevice::WriteOnly));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(here.path()));
    QtFileDialogs dialogs;
    Seen first;
    Seen seen;

    // Before any path, the current folder; the user goes elsewhere and picks a file there,
    // having chosen the other filter.
    answer(first, [&there](QFileDialog& dialog) {
      dialog.selectNameFilter(QStringLiteral("All Files (*.*)"));
      dialog.setDirectory(there.path());
      // Qt leaves the name box alone while it has the focus.
      if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
      dialog.selectFile(QStringLiteral("clip.srt"));
      static_cast<QDialog&>(dialog).accept();  // QFileDialog keeps its own protected
    });
    const std::string picked = dialogs.show("CommonDialog3", DialogKind::Open, "Open", kFilter);
    QCOMPARE(QString::fromStdString(picked), there.filePath(QStringLiteral("clip.srt")));
    QCOMPARE(first.folder, QDir(here.path()).absolutePath());
    QVERIFY(first.selected.isEmpty());

    // The same dialog, in the folder of that path, with nothing selected and the first
    // filter; the user wanders off and cancels: no path.
    answer(seen, [&here](QFileDialog& dialog) {
      dialog.setDirectory(here.path());
      dialog.reject();
    });
    QCOMPARE(dialogs.show("CommonDialog3", DialogKind::Open, "Open", kFilter), std::string());
    QVERIFY(first.dialog);
    QCOMPARE(seen.dialog, first.dialog);
    QCOMPARE(seen.folder, QDir(there.path()).absolutePath());
    QVERIFY2(seen.selected.isEmpty(), qPrintable(seen.selected.join(u' ')));
    QCOMPARE(seen.filter, QStringLiteral("Subtitle Files (*.srt)"));

    // Where the cancel left it does not count: still the folder of the last path.
    answer(seen, [](QFileDialog& dialog) { dialog.reject(); });
    QCOMPARE(dialogs.show("CommonDialog3", DialogKind::Open, "Open", kFilter), std::string());
    QCOMPARE(seen.folder, QDir(there.path()).absolutePath());

    // Another name has its own dialog, which has returned nothing yet.
    answer(seen, [](QFileDialog& dialog) { dialog.reject(); });
    QCOMPARE(dialogs.show("CommonDialog2", DialogKind::Open, "Open", kFilter), std::string());
    QVERIFY(seen.dialog != first.dialog);
    QCOMPARE(seen.folder, QDir(here.path()).absolutePath());
    QVERIFY(QDir::setCurrent(before));
  }

  // A path typed into the name box brings up its completion list; Enter answers the dialog,
  // and then nothing of it may stay on screen over the main window.
  void enterInTheNameBoxLeavesNothingOnScreen() {
    const fake::TempFolder folder("obrel-dialogs-qt");
    fake::writeFile(folder / "clip.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n");
    fake::writeFile(folder / "notes.txt", "Notes\n");
    fake::writeFile(folder / "clip.avi", "");
    RealWindow w;
    QVERIFY(w.activate());
    for (const auto& [item, file] : {std::pair{"OpenSrt", "clip.srt"},
                                     {"OpenHelpText", "notes.txt"},
                                     {"OpenVideo", "clip.avi"}}) {
      bool listShown = false;
      whenModal([&listShown, path = QString::fromStdString(folder / file)](QWidget* modal) {
        auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        modal->activateWindow();
        QTRY_COMPARE(QGuiApplication::focusWindow(), modal->windowHandle());
        name->setFocus();
        // Through the window, as a user's keys come: the list takes them while it is up.
        for (const QChar c : path) QTest::keyClick(modal->windowHandle(), c.toLatin1());
        listShown = name->completer() && name->completer()->popup()->isVisible();
        QTest::keyClick(modal->windowHandle(), Qt::Key_Return);
      });
      w.view2().action(item)->trigger();
      QVERIFY2(listShown, item);
      QCoreApplication::processEvents();
      for (QWidget* top : QApplication::topLevelWidgets()) {
        QVERIFY2(
            !top->isVisible() || top == w.view2().window(),
            qPrintable(
                QStringLiteral("%1 left %2 on screen").arg(item, top->metaObject()->className())));
      }
    }
  }
};

QTEST_MAIN(FileDialogsQtTest)
#include "file_dialogs_qt_test.moc"
