// The recovery copy end to end: a window typed into and then killed (this executable run
// again as a child), and the next window, offered the copy, showing the entry again.
#include <sys/prctl.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "document/recovery_copy.h"
#include "platform/recovery_folder.h"
#include "testing/temp_folder.h"
#include "tests/qt/real_window.h"

using namespace obrel;
using obrel::qttest::RealWindow;
using obrel::qttest::whenModal;

namespace {

// Set in the child's environment: it types an entry and waits to be killed.
constexpr const char* kChild = "OBREL_RECOVERY_QT_CHILD";
constexpr int kTimeoutMs = 20000;

const char* const kText = "Killed before saving";

// Each key goes to the widget that has the focus when it is pressed, as the time fields
// move the focus on under the keys.
bool type(const char* keys) {
  for (const char* k = keys; *k; ++k) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return false;
    QTest::keyClick(target, *k);
  }
  return true;
}

// The child: an entry typed into the real fields and stored with OK, then nothing until
// the parent kills it. It ends by itself, never normally, should the parent fail to.
int typeThenWait() {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  RealWindow w;
  if (!w.activate()) return 2;
  Form2& f = w.form2();
  w.focus(f.Text1);
  if (!type("000001500000003250")) return 3;
  w.focus(f.Text9);
  QTest::keyClicks(w.widget("Text9"), QString::fromUtf8(kText));
  QTest::mouseClick(w.widget("Command3"), Qt::LeftButton);
  QTimer::singleShot(2 * kTimeoutMs, [] { std::_Exit(4); });
  return QApplication::exec();
}

// Sets an environment variable until it goes.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QByteArray& value)
      : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
  }
  ~ScopedVariable() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

// The copies in folder, by file name.
QStringList copiesIn(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.copy")}, QDir::Files, QDir::Name);
}

bool aCopyHolds(const QString& folder, const QByteArray& text) {
  for (const QString& name : copiesIn(folder)) {
    QFile copy(folder + '/' + name);
    if (copy.open(QIODevice::ReadOnly) && copy.readAll().contains(text)) return true;
  }
  return false;
}

}  // namespace

class RecoveryQtTest : public QObject {
  Q_OBJECT

 private slots:
  void aKilledWindowsEntryIsOfferedAndRestored() {
    const fake::TempFolder state("obrel-recovery-qt");
    const QString stateHome = QString::fromStdString(state.path().string());
    const QString folder = stateHome + QStringLiteral("/obrel-dizivud/recovery");

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChild), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), stateHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted(kTimeoutMs));
    // A copy written before OK would lack the entry: wait for the one that holds it.
    QTRY_VERIFY_WITH_TIMEOUT(aCopyHolds(folder, kText) || child.state() == QProcess::NotRunning,
                             kTimeoutMs);
    QCOMPARE(child.state(), QProcess::Running);
    child.kill();  // SIGKILL
    QVERIFY(child.waitForFinished(kTimeoutMs));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QStringList left = copiesIn(folder);
    QCOMPARE(left.size(), 1);

    const ScopedVariable stateOfThisRun("XDG_STATE_HOME", stateHome.toLocal8Bit());
    std::optional<RealWindow> w(std::in_place, RealWindow::Start::Nothing);
    QString asked;
    whenModal([&asked](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      asked = box->windowTitle() + '|' + box->text();
      box->button(QMessageBox::Yes)->click();
    });
    w->startMain();
    QCOMPARE(asked, QStringLiteral("Obrel Dizivud|Obrel Dizivud did not end normally. Entries "
                                   "that were not saved were kept.\nOpen them now?"));

    const Entry& entry = w->form2().document().store.at(1);
    QCOMPARE(entry.EntryText, std::string(kText));
    QCOMPARE(entry.StartSeconds, std::string("01"));
    QCOMPARE(entry.EndMillis, std::string("250"));
    QCOMPARE(w->form2().CurrentIndex, std::int16_t{1});
    const char* const fields[] = {"Text1", "Text2", "Text3", "Text4", "Text5",
                                  "Text6", "Text7", "Text8", "Text10"};
    const char* const shown[] = {"00", "00", "01", "500", "00", "00", "03", "250", "1"};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      QCOMPARE(w->widget<QLineEdit>(fields[i])->text(), QString::fromLatin1(shown[i]));
    }
    QCOMPARE(w->widget<QPlainTextEdit>("Text9")->toPlainText(), QString::fromUtf8(kText));
    QCOMPARE(w->form2().caption(), std::string("Obrel Dizivud"));

    // This window's own copy replaces the killed one's, and goes at a normal end.
    QTRY_VERIFY_WITH_TIMEOUT(!copiesIn(folder).contains(left[0]), kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(copiesIn(folder).size(), 1, kTimeoutMs);
    w.reset();
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{});
  }

  // Through the splash, as the program starts: the question belongs to the main window that
  // came up, not to the splash that went.
  void theStartQuestionBelongsToTheMainWindow() {
    const fake::TempFolder state("obrel-recovery-qt");
    const ScopedVariable stateOfThisRun("XDG_STATE_HOME", QByteArray::fromStdString(state.path()));
    EntryStore store;
    store.edit(1).EntryText = "Left behind";
    const std::string folder = recoveryFolderPath(state.path().c_str(), nullptr);
    std::filesystem::create_directories(folder);
    fake::writeFile(folder + "/1-1-1.copy", writeRecoveryCopy(store, DocumentFacts{}));

    RealWindow w(RealWindow::Start::Nothing);
    w.program().startWithSplash();
    QWidget* splash = w.program().view(w.program().program().form1())->window();
    QVERIFY(QTest::qWaitForWindowActive(splash));
    QString asked;
    QWindow* owner = nullptr;
    whenModal([&asked, &owner](QWidget* modal) {
      asked = static_cast<QMessageBox*>(modal)->text();
      owner = modal->windowHandle()->transientParent();
      static_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
    });
    // Clicked from the event loop, as a user's click comes: a click sent from outside any
    // loop lets the question's own loop delete the splash under its handler.
    QWidget* picture = w.program().view(w.program().program().form1())->widget("Picture1");
    QTimer::singleShot(0, picture, [picture] { QTest::mouseClick(picture, Qt::LeftButton); });
    QTRY_VERIFY(!asked.isEmpty());
    QVERIFY(asked.startsWith(QStringLiteral("Obrel Dizivud did not end normally.")));
    QCOMPARE(owner, w.view2().window()->windowHandle());
  }

  // A copy that cannot be kept is told in a box on the window's thread once the event that
  // wrote it is over: the entry typed is stored, and the box names the folder.
  void aCopyThatCannotBeKeptIsToldAfterTheEvent() {
    const fake::TempFolder state("obrel-recovery-qt");
    const std::string stateHome = (state.path() / "state").string();
    fake::writeFile(stateHome, "a file where the state folder should be");
    const ScopedVariable stateOfThisRun("XDG_STATE_HOME", QByteArray::fromStdString(stateHome));
    RealWindow w;
    QVERIFY(w.activate());
    Form2& f = w.form2();
    w.focus(f.Text1);
    QVERIFY(type("000001000000002000"));
    w.focus(f.Text9);
    QTest::keyClicks(w.widget("Text9"), QStringLiteral("Not kept"));
    QString told;
    bool storedFirst = false;
    whenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      told = box->windowTitle() + '|' + box->text();
      storedFirst = f.document().store.at(1).EntryText == "Not kept";
      box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(w.widget("Command3"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!told.isEmpty(), kTimeoutMs);
    QCOMPARE(told, QStringLiteral("Obrel Dizivud|Unsaved entries cannot be kept for recovery.\n"
                                  "Not a directory (folder ") +
                       QString::fromStdString(stateHome) +
                       QStringLiteral("/obrel-dizivud/recovery)"));
    QVERIFY(storedFirst);
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (qEnvironmentVariableIsSet(kChild)) return typeThenWait();
  RecoveryQtTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "recovery_qt_test.moc"
