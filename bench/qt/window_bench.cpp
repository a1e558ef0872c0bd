// obrel_qt_bench: the Qt program. Opening the 9999-entry file in the shown main window
// (offscreen unless QT_QPA_PLATFORM says otherwise), timed until the window has painted
// its final state, beside the headless open and the reference in the same run; the
// program's memory with that document loaded; the time from starting the program to
// the splash on screen; and, with a file on the command line, the time from the splash
// giving way to the main window showing the file's last entry (on the X server when run
// under xvfb-run).
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/qt_program.h"
#include "bench/bench_support.h"
#include "bench/reference.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_form.h"
#include "testing/temp_folder.h"
#include "tests/qt/single_view_host.h"

namespace obrel::bench {
namespace {

srtgen::Flavour flavourOf(const benchmark::State& state) {
  return static_cast<srtgen::Flavour>(state.range(0));
}

// Counts the paints of the widgets that show an entry.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The real program started past the splash, its main window shown and exposed.
class ShownProgram {
 public:
  ShownProgram() : p_(std::make_unique<QtProgram>()) {
    p_->run("bench", [this] { p_->program().startMain(); });
    QWidget* window = p_->view(&form())->window();
    QElapsedTimer waited;
    waited.start();
    while ((!window->windowHandle() || !window->windowHandle()->isExposed()) &&
           waited.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    for (const char* name : {"Text10", "Text9"}) {
      QWidget* w = widget(name);
      if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) w = plain->viewport();
      w->installEventFilter(&counter_);
    }
    settle();
  }
  // Ends normally, so that no recovery copy is left for the next benchmark's program to offer.
  ~ShownProgram() {
    p_->program().endNormally();
    p_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  Form2& form() { return *p_->program().form2(); }
  Program& program() { return p_->program(); }
  QtForm* view(const Form* window) { return p_->view(window); }
  QWidget* widget(const char* name) { return p_->view(&form())->widget(name); }
  QAction* action(const char* name) { return p_->view(&form())->action(name); }
  void run(const std::function<void()>& call) { p_->run("bench", call); }
  int paints() const { return counter_.paints; }

  // Handles what is pending until both entry widgets have painted since paintsBefore.
  void waitForPaintsAfter(int paintsBefore) {
    QElapsedTimer waited;
    waited.start();
    while (counter_.paints < paintsBefore + 2 && waited.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
  }
  void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
  }

 private:
  std::unique_ptr<QtProgram> p_;
  PaintCounter counter_;
};

// Names path in Qt's file dialog. Qt leaves the name box alone while it has the focus, as a
// kept dialog's box may have from the start, so the focus leaves it first.
void choose(QFileDialog& dialog, const std::string& path) {
  if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
  dialog.selectFile(QString::fromStdString(path));
}

// The window as just loaded, with a new document: no change counted, so that the next Open
// does not ask whether to save.
void emptyDocument(Form2& form) {
  form.Form_Load();
  form.New_Click();
}

struct OpenTimes {
  double handler = 0;  // from the dialog's acceptance until the handler and the sync are done
  double total = 0;    // until the window has painted
};

// File > Open > Subtitle File (.srt) in the shown window, the open dialog answered with
// path; the clock runs from the dialog's acceptance until the window has painted.
OpenTimes openShown(ShownProgram& shown, const std::string& path) {
  std::chrono::steady_clock::time_point accepted;
  int paintsBefore = 0;
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    choose(*dialog, path);
    paintsBefore = shown.paints();
    accepted = std::chrono::steady_clock::now();
    static_cast<QDialog*>(dialog)->accept();
  });
  poll->start(5);
  shown.action("OpenSrt")->trigger();
  const auto handled = std::chrono::steady_clock::now();
  shown.waitForPaintsAfter(paintsBefore);
  const auto painted = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(handled - accepted).count(),
          std::chrono::duration<double>(painted - accepted).count()};
}

void BM_QtOpenShown(benchmark::State& state) {
  Workspace work(flavourOf(state));
  ShownProgram shown;
  double handlerMs = 0;
  for (auto _ : state) {
    // Start each open from an empty document on screen, so that every widget changes.
    shown.run([&shown] { emptyDocument(shown.form()); });
    shown.waitForPaintsAfter(shown.paints());
    shown.settle();
    const OpenTimes times = openShown(shown, work.input());
    state.SetIterationTime(times.total);
    handlerMs += times.handler * 1e3;
    auto* box = qobject_cast<QLineEdit*>(shown.widget("Text10"));
    if (!box || box->text() != QStringLiteral("9999")) {
      state.SkipWithError("the window does not show entry 9999");
      break;
    }
  }
  state.counters["handler_ms"] = benchmark::Counter(handlerMs, benchmark::Counter::kAvgIterations);
  state.counters["rss_MB"] = residentBytes() / 1e6;
}
BENCHMARK(BM_QtOpenShown)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// File > Open > Subtitle File (.srt) through the window's menu, the dialog a stand-in as in
// the headless open: the clock runs from the menu until the window has painted the last entry.
void BM_QtWindowOpen(benchmark::State& state) {
  Workspace work(flavourOf(state));
  DiskWindow w(work.programFolder());
  qttest::SingleViewHost host;  // as the program hosts its windows
  QtForm view(w.form, host);
  host.view = &view;
  view.window()->show();
  QElapsedTimer waited;
  waited.start();
  while (!view.window()->windowHandle()->isExposed() && waited.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  PaintCounter counter;
  view.widget("Text10")->installEventFilter(&counter);
  qobject_cast<QPlainTextEdit*>(view.widget("Text9"))->viewport()->installEventFilter(&counter);
  auto waitForPaints = [&counter](int before) {
    QElapsedTimer waiting;
    waiting.start();
    while (counter.paints < before + 2 && waiting.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
  };
  for (auto _ : state) {
    host.run("bench", [&w] { emptyDocument(w.form); });
    waitForPaints(counter.paints);
    w.dialogs.choices.push_back(work.input());
    const int before = counter.paints;
    const auto start = std::chrono::steady_clock::now();
    view.action("OpenSrt")->trigger();
    waitForPaints(before);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (qobject_cast<QLineEdit*>(view.widget("Text10"))->text() != QStringLiteral("9999")) {
      state.SkipWithError("the window does not show entry 9999");
      break;
    }
  }
}
BENCHMARK(BM_QtWindowOpen)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// What BM_QtOpenShown spends in the file dialog alone: from its acceptance until it has
// closed and QtFileDialogs has returned the path, on the kept dialog of a second use on.
void BM_QtFileDialogClose(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Ascii);
  ShownProgram shown;
  QtFileDialogs dialogs;
  std::chrono::steady_clock::time_point accepted;
  const auto use = [&] {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      poll.stop();
      choose(*dialog, work.input());
      accepted = std::chrono::steady_clock::now();
      static_cast<QDialog*>(dialog)->accept();
    });
    poll.start(5);
    return dialogs.show("CommonDialog3", DialogKind::Open, "Open Subtitle File",
                        "Subtitle Files (*.srt)|*.srt");
  };
  use();  // the first use makes the dialog
  for (auto _ : state) {
    if (use() != work.input()) {
      state.SkipWithError("the dialog did not return the file");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - accepted).count());
  }
}
BENCHMARK(BM_QtFileDialogClose)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The 9999-entry file opened, the editor on entry 9999.
void fillStore(ShownProgram& shown, const Workspace& work) {
  shown.run([&shown, &work] { shown.form().openSubtitleFile(work.input()); });
  shown.settle();
}

// Edit > Delete Entry in the shown window, its input box answered with entry 1.
void deleteFirstEntry(ShownProgram& shown) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    box->setTextValue(QStringLiteral("1"));
    box->accept();
  });
  poll->start(5);
  shown.action("DeleteEntry")->trigger();
  shown.settle();
}

// Handles what is pending until the entry list's table has painted since paintsBefore.
void waitForListPaint(const PaintCounter& counter, int paintsBefore) {
  QElapsedTimer waited;
  waited.start();
  while (counter.paints <= paintsBefore && waited.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

QAbstractItemView* listTable(ShownProgram& shown) {
  QtForm* list = shown.view(shown.program().form5());
  return list ? qobject_cast<QAbstractItemView*>(list->widget("List1")) : nullptr;
}

// View > Entry List on a full store: from the menu until the list has painted its rows.
void BM_QtListOpen(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Ascii);
  ShownProgram shown;
  fillStore(shown, work);
  for (auto _ : state) {
    PaintCounter counter;
    const auto start = std::chrono::steady_clock::now();
    shown.action("EntryList")->trigger();
    QAbstractItemView* table = listTable(shown);
    if (!table) {
      state.SkipWithError("the entry list did not open");
      break;
    }
    table->viewport()->installEventFilter(&counter);
    waitForListPaint(counter, 0);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (table->model()->rowCount() != 9999) {
      state.SkipWithError("the list does not show 9999 rows");
      break;
    }
    shown.run([&shown] { shown.program().close(*shown.program().form5()); });
    shown.settle();
  }
}
BENCHMARK(BM_QtListOpen)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// The open list after the store's shift on a full store: the Undo of a Delete of entry 1
// (the entry back at 1, the rest one up) and, every other round, its Redo. From the Undo or
// Redo, the shift (BM_UndoRedoInsertFirst) included, through the list's update after the
// event, until it has painted.
void BM_QtListAfterInsert(benchmark::State& state) {
  Workspace work(srtgen::Flavour::Ascii);
  ShownProgram shown;
  fillStore(shown, work);
  deleteFirstEntry(shown);
  shown.action("EntryList")->trigger();
  shown.settle();
  QAbstractItemView* table = listTable(shown);
  if (!table) {
    state.SkipWithError("the entry list did not open");
    return;
  }
  PaintCounter counter;
  table->viewport()->installEventFilter(&counter);
  bool undone = false;
  for (auto _ : state) {
    const int before = counter.paints;
    const auto start = std::chrono::steady_clock::now();
    shown.run([&shown, undone] {
      if (undone) {
        shown.form().Redo_Click();
      } else {
        shown.form().Undo_Click();
      }
    });
    undone = !undone;
    waitForListPaint(counter, before);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const int rows = undone ? 9999 : 9998;  // the Delete left entry 9999's slot empty
    if (table->model()->rowCount() != rows) {
      state.SkipWithError("the list did not follow the store");
      break;
    }
  }
}
BENCHMARK(BM_QtListAfterInsert)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_HeadlessOpen(benchmark::State& state) {
  Workspace work(flavourOf(state));
  DiskWindow w(work.programFolder());
  for (auto _ : state) w.open(work.input());
}
BENCHMARK(BM_HeadlessOpen)->Arg(0)->Arg(2)->ArgName("flavour")->Unit(benchmark::kMillisecond);

void BM_RefReadSplit(benchmark::State& state) {
  Workspace work(flavourOf(state));
  for (auto _ : state) benchmark::DoNotOptimize(reference::readAndSplit(work.input()));
}
BENCHMARK(BM_RefReadSplit)->Arg(0)->Arg(2)->ArgName("flavour")->Unit(benchmark::kMillisecond);

// Starts the program with OBREL_SPLASH_PROBE set, which makes it print the monotonic
// clock once the splash has painted, and end. Returns seconds from spawn to that moment.
double splashDelay() {
  const ProcessOutput out =
      runForOutput(executableFolder() + "/obrel-dizivud", {}, {"OBREL_SPLASH_PROBE=1"});
  long long shownNs = 0;
  if (std::sscanf(out.text.c_str(), "splash-shown %lld", &shownNs) != 1) return -1;
  return static_cast<double>(shownNs - out.spawnedNs) / 1e9;
}

void BM_SplashShown(benchmark::State& state) {
  splashDelay();  // a first start warms the disk cache
  for (auto _ : state) {
    const double delay = splashDelay();
    if (delay < 0) {
      state.SkipWithError("the program did not report its splash");
      break;
    }
    state.SetIterationTime(delay);
  }
}
BENCHMARK(BM_SplashShown)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The platform the started program draws on: the X server where there is one (run the
// benchmark under xvfb-run), else offscreen like the rest of this benchmark.
std::string startedPlatform() { return qEnvironmentVariableIsSet("DISPLAY") ? "xcb" : "offscreen"; }

// Starts the program on file with OBREL_OPEN_PROBE set: it clicks its splash once that has
// settled, and ends once the main window has painted the file's last entry. Returns the
// seconds between the splash giving way and that paint, both on the program's clock.
double openAtStartDelay(const std::string& file) {
  const ProcessOutput out =
      runForOutput(executableFolder() + "/obrel-dizivud", {file},
                   {"OBREL_OPEN_PROBE=9999", "QT_QPA_PLATFORM=" + startedPlatform()});
  long long gaveWayNs = 0;
  long long shownNs = 0;
  if (std::sscanf(out.text.c_str(), "splash-gives-way %lld entry-shown %lld", &gaveWayNs,
                  &shownNs) != 2) {
    return -1;
  }
  return static_cast<double>(shownNs - gaveWayNs) / 1e9;
}

// obrel-dizivud FILE with the 9999-entry file: from the splash giving way until the main
// window shows entry 9999 in its fields.
void BM_OpenAtStart(benchmark::State& state) {
  Workspace work(flavourOf(state));
  openAtStartDelay(work.input());  // a first start warms the disk cache
  for (auto _ : state) {
    const double delay = openAtStartDelay(work.input());
    if (delay < 0) {
      state.SkipWithError("the program did not report entry 9999 on screen");
      break;
    }
    state.SetIterationTime(delay);
  }
  state.SetLabel(startedPlatform());
}
BENCHMARK(BM_OpenAtStart)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("flavour")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// A key typed into Text9 of the shown window, holding an entry of three lines or a pasted
// text of 1,000, each line with a misspelt word: from the key press until the box's handler,
// the sync and the underlining of every misspelt word are done (the paint comes later).
// Every 60 keys the text goes back to as pasted.
void BM_QtSpellKeystroke(benchmark::State& state) {
  ShownProgram shown;
  Form2& form = shown.form();
  if (!form.Spelling.enabled()) {
    state.SkipWithError("no dictionary installed");
    return;
  }
  // Spelling off: what typing costs without it. The option is kept from the last run.
  if (form.Spelling.checked() != (state.range(1) == 1)) {
    shown.run([&form] { form.Spelling_Click(); });
  }
  std::string pasted;
  for (int k = 0; k < state.range(0); ++k) {
    pasted += "Line " + std::to_string(k) + " of the pasted text, with a wrold in it\r\n";
  }
  auto* box = qobject_cast<QPlainTextEdit*>(shown.widget("Text9"));
  const QString keys = QStringLiteral("wrdxq tset ");
  int n = 0;
  for (auto _ : state) {
    if (n % 60 == 0) {
      shown.run([&form, &pasted] { form.Text9.setText(pasted); });
      shown.settle();
    }
    const QChar key = keys[n++ % keys.size()];
    QKeyEvent press(QEvent::KeyPress, key == u' ' ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier,
                    QString(key));
    const auto start = std::chrono::steady_clock::now();
    QApplication::sendEvent(box, &press);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    shown.settle();
  }
  int underlined = 0;
  for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
    for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
      if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) ++underlined;
    }
  }
  if (state.range(1) == 1 && underlined < state.range(0)) {
    state.SkipWithError("the misspelt words are not underlined");
  }
}
BENCHMARK(BM_QtSpellKeystroke)
    ->ArgsProduct({{3, 1000}, {1, 0}})
    ->ArgNames({"lines", "spelling"})
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace obrel::bench

int main(int argc, char** argv) {
  // Recovery copies and backups of the programs measured stay in the run's own folders.
  const obrel::fake::TempFolder state("obrel-bench-state");
  setenv("XDG_STATE_HOME", state.path().c_str(), 1);
  setenv("XDG_CACHE_HOME", (state.path() / "cache").c_str(), 1);
  // Nor do its spelling options and words reach the user's.
  setenv("XDG_CONFIG_HOME", (state.path() / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (state.path() / "data").c_str(), 1);
  using obrel::bench::Check;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The benchmark answers Qt's own file dialog; a desktop's dialog could not be answered.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  std::vector<Check> checks;
  for (const std::string f : {"0", "2"}) {
    const std::string arg = "/flavour:" + f;
    checks.push_back({"BM_QtWindowOpen" + arg, "wall", "BM_HeadlessOpen" + arg, 1, 0, 0, 30e-3});
    checks.push_back({"BM_QtWindowOpen" + arg, "wall", "BM_RefReadSplit" + arg});
    checks.push_back({"BM_QtOpenShown" + arg, "wall", "BM_HeadlessOpen" + arg});
    checks.push_back({"BM_QtOpenShown" + arg, "rss_MB", "", 1, 0, 120});
  }
  checks.push_back({"BM_QtFileDialogClose", "wall"});
  checks.push_back({"BM_QtListOpen", "wall", "", 1, 0, 20e-3});
  checks.push_back({"BM_QtListAfterInsert", "wall", "", 1, 0, 20e-3});
  checks.push_back({"BM_SplashShown", "wall", "", 1, 0, 300e-3});
  // A key in the entry text with spelling on, underlining included.
  for (const std::string lines : {"3", "1000"}) {
    checks.push_back(
        {"BM_QtSpellKeystroke/lines:" + lines + "/spelling:1", "wall", "", 1, 0, 1e-3});
  }
  for (const std::string f : {"0", "2"}) {
    checks.push_back({"BM_OpenAtStart/flavour:" + f, "wall", "", 1, 0, 150e-3});
  }
  return obrel::bench::runWithChecks(argc, argv, checks);
}
