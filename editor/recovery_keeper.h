#pragma once
// Keeps a recovery copy of the main window's document while it holds unsaved work, and
// offers an abandoned one back at start, after asking about saves a crash cut short. The
// copy is built on the calling thread and written by the runner given: at once in the
// driver, on a worker thread in the window.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace obrel {

class Form2;
class Prompts;
class RecoveryFolder;

class RecoveryKeeper {
 public:
  // Runs a job after every job given before it, now or later.
  using Runner = std::function<void(std::function<void()>)>;

  RecoveryKeeper(RecoveryFolder& folder, Runner run);

  // The main window has come up: asks, file by file, whether to put back the content a save
  // in place cut short kept; then offers the newest abandoned copy, if any, and loads it into
  // form on Yes; No deletes it.
  void offer(Form2& form, Prompts& prompts);
  // After each user event: the copy is written at once when the document has become
  // unsaved with no copy kept; later changes wait for writeDue. A document with nothing
  // unsaved has its copy removed.
  void afterEvent(const Form2& form);
  // Whether changes wait for writeDue (the window calls it a second after the last write,
  // the driver at its next tick).
  bool due() const { return due_; }
  void writeDue(const Form2& form);
  // The program ends normally: its copy goes, and nothing more is written.
  void endNormally();

  // The first failure to keep a copy after start, and the first after a copy was written
  // again, are told in a message box: whether one waits, and showing it (on the window's
  // thread, between events). Each failure told is also written on standard error, unless
  // toldOnStandardError is cleared.
  bool failureWaiting() const;
  void tellFailure(Prompts& prompts);
  // Called on the writing thread when a failure comes to wait.
  std::function<void()> onFailureWaiting;
  bool toldOnStandardError = true;

 private:
  void write(const Form2& form);
  void remove();

  RecoveryFolder& folder_;
  Runner run_;
  bool kept_ = false;  // a copy was written, or is being written, since the last removal
  std::uint64_t keptRevision_ = 0;
  bool due_ = false;
  bool ended_ = false;
  // The copy offered at start, deleted once this program's own copy has been written.
  std::optional<std::string> offered_;
  // Set by a write that failed, so that the next change writes again.
  struct Failures {
    std::atomic<bool> last{false};
    std::mutex mutex;
    // Whether a failure now is the first since start or since a copy was written.
    bool tellNext = true;
    std::optional<std::string> waiting;  // the text of the box to show
  };
  std::shared_ptr<Failures> failures_ = std::make_shared<Failures>();
};

}  // namespace obrel
