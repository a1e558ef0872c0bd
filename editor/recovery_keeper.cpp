#include "editor/recovery_keeper.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <utility>
#include <vector>

#include "document/recovery_copy.h"
#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/recovery_folder.h"
#include "platform/unfinished_saves.h"

namespace obrel {

namespace {

// Asks about each save in place that a crash cut short. Returns the files asked about as
// they stand after the answers.
std::vector<FileIdentity> askAboutUnfinishedSaves(Prompts& prompts) {
  std::vector<FileIdentity> answered;
  RealFileSystem files;
  for (UnfinishedSave& save : findUnfinishedSaves()) {
    const Answer answer = prompts.messageBox(
        "Obrel Dizivud did not finish saving " + save.file +
            ".\r\nIts content from before that save was kept. Do you want to put it back?",
        "Obrel Dizivud", Icon::Exclamation, Buttons::YesNo);
    if (answer == Answer::Yes) {
      try {
        putBack(save);
      } catch (const FileError& failure) {
        prompts.messageBox("The file could not be saved.\r\n" + save.file + "\r\n" + failure.what(),
                           "Obrel Dizivud", Icon::Critical, Buttons::OK);
      }
    } else {
      discard(save);
    }
    if (const auto now = files.identity(save.file)) answered.push_back(*now);
  }
  return answered;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.device == b.device && a.inode == b.inode;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(RecoveryFolder& folder, Runner run)
    : folder_(folder), run_(std::move(run)) {}

void RecoveryKeeper::offer(Form2& form, Prompts& prompts) {
  // First, as the copy may be of a file whose save was cut short.
  const std::vector<FileIdentity> answered = askAboutUnfinishedSaves(prompts);

  // Newest first by the time each copy records, read from its first bytes only; a copy
  // whose time cannot be read comes last.
  struct Candidate {
    std::int64_t writtenAt;
    std::string id;
  };
  std::vector<Candidate> candidates;
  for (RecoveryFolder::Found& found :
       folder_.abandonedCopies(kRecoveryCopyHeadBytes, isWholeRecoveryCopy)) {
    candidates.push_back(
        {recoveryCopyTime(found.head).value_or(std::numeric_limits<std::int64_t>::min()),
         std::move(found.id)});
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.writtenAt != b.writtenAt ? a.writtenAt > b.writtenAt : a.id < b.id;
  });
  std::optional<RecoveredDocument> newest;
  std::string newestId;
  for (const Candidate& candidate : candidates) {
    if (!folder_.take(candidate.id)) continue;  // its program still runs
    // Not a readable file of the user's, or no whole copy: set aside as broken.
    const std::optional<std::string> text = folder_.read(candidate.id);
    if (text) newest = readRecoveryCopy(*text);
    if (newest) {
      newestId = candidate.id;
      break;
    }
    folder_.markBroken(candidate.id);
  }
  if (!newest) return;
  const Answer answer = prompts.messageBox(
      "Obrel Dizivud did not end normally. Entries that were not saved were kept.\r\n"
      "Open them now?",
      "Obrel Dizivud", Icon::Question, Buttons::YesNo);
  if (answer != Answer::Yes) {
    folder_.discard(newestId);
    return;
  }
  // A file whose cut save was just answered for is as the user chose it: its next Save
  // does not ask whether another program changed it.
  DocumentFacts& facts = newest->facts;
  if (const auto now = RealFileSystem().identity(facts.currentFile)) {
    for (const FileIdentity& file : answered) {
      if (sameFile(file, *now)) facts.identity = *now;
    }
  }
  form.restoreRecovered(std::move(*newest));
  offered_ = newestId;
}

void RecoveryKeeper::afterEvent(const Form2& form) {
  if (ended_) return;
  const Document& document = form.document();
  if (!document.holdsUnsavedWork()) {
    if (kept_) remove();
    return;
  }
  if (!kept_) {
    write(form);
  } else if (document.store.revision() != keptRevision_) {
    // A copy that could not be written is tried again at once.
    if (failures_->last) {
      write(form);
    } else {
      due_ = true;
    }
  }
}

void RecoveryKeeper::writeDue(const Form2& form) {
  if (!due_ || ended_) return;
  if (form.document().holdsUnsavedWork()) {
    write(form);
  } else {
    due_ = false;
  }
}

void RecoveryKeeper::endNormally() {
  ended_ = true;
  remove();
  // A copy offered and taken that this program never replaced with its own stays for the
  // next start.
  offered_.reset();
}

bool RecoveryKeeper::failureWaiting() const {
  const std::lock_guard<std::mutex> lock(failures_->mutex);
  return failures_->waiting.has_value();
}

void RecoveryKeeper::tellFailure(Prompts& prompts) {
  std::optional<std::string> text;
  {
    const std::lock_guard<std::mutex> lock(failures_->mutex);
    text = std::exchange(failures_->waiting, std::nullopt);
  }
  if (text) prompts.messageBox(*text, "Obrel Dizivud", Icon::Exclamation, Buttons::OK);
}

void RecoveryKeeper::write(const Form2& form) {
  DocumentFacts facts = form.recoveryFacts();
  facts.writtenAt = static_cast<std::int64_t>(std::time(nullptr));
  const EntryStore& store = form.document().store;
  std::string text = writeRecoveryCopy(store, facts);
  kept_ = true;
  keptRevision_ = store.revision();
  due_ = false;
  failures_->last = false;
  // Discarding the offered copy again after a later write does nothing.
  run_([&folder = folder_, text = std::move(text), offered = offered_, failures = failures_,
        notify = onFailureWaiting, toStandardError = toldOnStandardError] {
    try {
      folder.write(text);
      if (offered) folder.discard(*offered);
      const std::lock_guard<std::mutex> lock(failures->mutex);
      failures->tellNext = true;
    } catch (const Failure& failure) {
      failures->last = true;
      {
        const std::lock_guard<std::mutex> lock(failures->mutex);
        if (!failures->tellNext) return;
        failures->tellNext = false;
        failures->waiting = "Unsaved entries cannot be kept for recovery.\r\n" +
                            std::string(failure.what()) + " (folder " + folder.folder() + ")";
      }
      if (toStandardError) {
        std::fprintf(stderr, "Obrel Dizivud: could not keep a recovery copy in %s: %s\n",
                     folder.folder().c_str(), failure.what());
      }
      if (notify) notify();
    }
  });
}

void RecoveryKeeper::remove() {
  kept_ = false;
  due_ = false;
  run_([&folder = folder_] { folder.remove(); });
}

}  // namespace obrel
