#pragma once
// Keeps a recovery copy of the main window's document while it holds unsaved work, and
// offers an abandoned one back at start. The copy is built on the calling thread and
// written by the runner given: at once in the driver, on a worker thread in the window.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
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

  // The main window has come up: offers the newest abandoned copy, if any, and loads it
  // into form on Yes; No deletes it.
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
  // Set by a write that failed, so that the next change writes again; a failure is told
  // once on standard error.
  struct Failures {
    std::atomic<bool> last{false};
    std::atomic<bool> told{false};
  };
  std::shared_ptr<Failures> failures_ = std::make_shared<Failures>();
};

}  // namespace obrel
