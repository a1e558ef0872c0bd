#pragma once
// Probes for the benchmarks, which time the program from outside: each prints what happened
// and the monotonic clock in nanoseconds, and ends the program. Without their environment
// variables nothing changes.
//   OBREL_SPLASH_PROBE   "splash-shown" once the splash picture has been painted.
//   OBREL_OPEN_PROBE=N   clicks the splash once it has been painted and has had time to
//                        settle, as a user would, printing "splash-gives-way" just before;
//                        then "entry-shown" once the main window has painted entry N in its
//                        fields (the index box and the entry's text).
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace obrel {

class QtProgram;

class StartProbes {
 public:
  StartProbes();
  ~StartProbes();
  StartProbes(const StartProbes&) = delete;
  StartProbes& operator=(const StartProbes&) = delete;

  // Installs the probes the environment asks for on the splash program has just shown.
  void install(QtProgram& program);

 private:
  // Runs then once, after the first paint of widget at which ready() holds.
  void watch(QWidget* widget, std::function<bool()> ready, std::function<void()> then);
  void watchEntry(QtProgram& program, const QString& entry);
  std::vector<std::unique_ptr<QObject>> probes_;
};

}  // namespace obrel
