// The program on the desktop: a file named on the command line opens once the main window is
// up, and files dropped on the window or on the video panel open as the Open commands open
// them; other drops are refused.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "app/command_line.h"
#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const QByteArray kTwoEntries =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nFirst\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nSecond\r\n\r\n";

// Drags urls over the control and drops them there: whether the window took the drag.
bool dropOn(RealWindow& w, const char* control, const QList<QUrl>& urls) {
  QWidget* client = w.view2().client();
  QWidget* target = w.view2().widget(control);
  const QPoint at = target->mapTo(client, target->rect().center());
  QMimeData mime;
  mime.setUrls(urls);
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(client, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(client, &drop);
  return drop.isAccepted();
}

}  // namespace

class DesktopQtTest : public QObject {
  Q_OBJECT

 private slots:
  void aFileOnTheCommandLineOpensOnceTheMainWindowIsUp() {
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("two.srt")), kTwoEntries);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const CommandLine line =
        readCommandLine({QStringLiteral("obrel-dizivud"), QStringLiteral("two.srt")});
    QDir::setCurrent(before);
    QCOMPARE(line.exitStatus, -1);
    QVERIFY(line.file);
    QCOMPARE(QString::fromStdString(*line.file), folder.filePath(QStringLiteral("two.srt")));

    RealWindow w(RealWindow::Start::Nothing);
    w.program().program().openAtStart(*line.file);
    w.startMain();
    QCOMPARE(w.widget<QPlainTextEdit>("Text9")->toPlainText(), QStringLiteral("Second"));
    QCOMPARE(w.widget<QLineEdit>("Text10")->text(), QStringLiteral("2"));
    QCOMPARE(w.view2().window()->windowTitle(),
             "Obrel Dizivud - " + QString::fromStdString(*line.file));
    QCOMPARE(w.form2().ChangeCount, 1);
  }

  void aCommandLineItCannotTakeEndsWithStatusTwo() {
    for (const QStringList& args : {QStringList{"obrel-dizivud", "--bogus"},
                                    QStringList{"obrel-dizivud", "a.srt", "b.srt"}}) {
      QCOMPARE(readCommandLine(args).exitStatus, 2);
    }
    QVERIFY(!readCommandLine({QStringLiteral("obrel-dizivud")}).file);
  }

  void oneSubtitleFileDroppedOnTheWindowOpensOtherDropsAreRefused() {
    QTemporaryDir folder;
    const QString srt = folder.filePath(QStringLiteral("Dropped.SRT"));
    writeFile(srt, kTwoEntries);
    RealWindow w;
    QVERIFY(
        !dropOn(w, "Text9", {QUrl::fromLocalFile(folder.filePath(QStringLiteral("notes.txt")))}));
    QVERIFY(!dropOn(w, "Text9", {QUrl::fromLocalFile(srt), QUrl::fromLocalFile(srt)}));
    QVERIFY(!dropOn(w, "Text9", {QUrl(QStringLiteral("https://example.org/a.srt"))}));
    QCOMPARE(w.form2().ChangeCount, 0);

    QVERIFY(dropOn(w, "Text9", {QUrl::fromLocalFile(srt)}));
    QCOMPARE(QString::fromStdString(w.form2().document().CurrentFile), srt);
    QCOMPARE(w.widget<QPlainTextEdit>("Text9")->toPlainText(), QStringLiteral("Second"));
    QCOMPARE(w.form2().ChangeCount, 1);
  }

  void anyFileDroppedOnTheVideoPanelPlaysEvenWhileThePlayerIsOff() {
    QTemporaryDir folder;
    const QString srt = folder.filePath(QStringLiteral("clip.srt"));
    writeFile(srt, kTwoEntries);
    RealWindow w;
    QVERIFY(!w.form2().WMP.enabled());
    QVERIFY(dropOn(w, "WMP", {QUrl::fromLocalFile(srt)}));
    QCOMPARE(QString::fromStdString(w.form2().VideoPath), srt);
    QVERIFY(w.form2().WMP.enabled());
    QVERIFY(w.form2().document().CurrentFile.empty());  // the video, not the subtitles
    QCOMPARE(w.form2().ChangeCount, 0);
  }

  void tabFromTheEntryTextPassesTheCoveredPane() {
    RealWindow w;
    QVERIFY(w.activate());
    w.focus(w.form2().Text9);
    QTest::keyClick(w.widget("Text9"), Qt::Key_Tab);
    QVERIFY(w.form2().focus() != &w.form2().Text11);
    QCOMPARE(w.widget("Text11")->focusPolicy(), Qt::NoFocus);
  }
};

QTEST_MAIN(DesktopQtTest)
#include "desktop_qt_test.moc"
