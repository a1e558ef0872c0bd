#include "editor/recovery_keeper.h"

#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

#include "document/recovery_copy.h"
#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/prompts.h"
#include "platform/recovery_folder.h"

namespace obrel {

RecoveryKeeper::RecoveryKeeper(RecoveryFolder& folder, Runner run)
    : folder_(folder), run_(std::move(run)) {}

void RecoveryKeeper::offer(Form2& form, Prompts& prompts) {
  std::optional<RecoveredDocument> newest;
  std::string newestId;
  for (RecoveryFolder::Abandoned& copy : folder_.takeAbandoned()) {
    try {
      RecoveredDocument document = readRecoveryCopy(copy.text);
      if (newest && document.facts.writtenAt <= newest->facts.writtenAt) {
        folder_.release(copy.id);
        continue;
      }
      if (newest) folder_.release(newestId);
      newest = std::move(document);
      newestId = copy.id;
    } catch (const RecoveryCopyUnreadable&) {
      folder_.markBroken(copy.id);
    }
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
  form.restoreRecovered(std::move(*newest));
  offered_ = newestId;
}

void RecoveryKeeper::afterEvent(const Form2& form) {
  if (ended_) return;
  if (!form.holdsUnsavedWork()) {
    if (kept_) remove();
    return;
  }
  if (!kept_) {
    write(form);
  } else if (form.store.revision() != keptRevision_) {
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
  if (form.holdsUnsavedWork()) {
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

void RecoveryKeeper::write(const Form2& form) {
  DocumentFacts facts = form.recoveryFacts();
  facts.writtenAt = static_cast<std::int64_t>(std::time(nullptr));
  std::string text = writeRecoveryCopy(form.store, facts);
  kept_ = true;
  keptRevision_ = form.store.revision();
  due_ = false;
  failures_->last = false;
  // Discarding the offered copy again after a later write does nothing.
  run_([&folder = folder_, text = std::move(text), offered = offered_, failures = failures_] {
    try {
      folder.write(text);
      if (offered) folder.discard(*offered);
    } catch (const Failure& failure) {
      failures->last = true;
      if (!failures->told.exchange(true)) {
        std::fprintf(stderr, "Obrel Dizivud: could not keep a recovery copy in %s: %s\n",
                     folder.folder().c_str(), failure.what());
      }
    }
  });
}

void RecoveryKeeper::remove() {
  kept_ = false;
  due_ = false;
  run_([&folder = folder_] { folder.remove(); });
}

}  // namespace obrel
