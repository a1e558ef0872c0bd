// The main window's side of the recovery copy: what it holds, and taking it back.
#include <string>
#include <utility>

#include "document/recovery_copy.h"
#include "editor/form2.h"

namespace obrel {

DocumentFacts Form2::recoveryFacts() const {
  DocumentFacts facts;
  facts.currentIndex = CurrentIndex;
  facts.currentFile = document_.CurrentFile;
  facts.encoding = document_.encoding;
  facts.partialLoad = document_.partialLoad;
  facts.identity = document_.fileIdentity;
  return facts;
}

void Form2::restoreRecovered(RecoveredDocument document) {
  const DocumentFacts& facts = document.facts;
  document_.store.take(std::move(document.store));
  document_.markUnsaved();
  clearUndoHistory();
  document_.CurrentFile = facts.currentFile;
  setCaption(facts.currentFile.empty() ? "Obrel Dizivud" : "Obrel Dizivud - " + facts.currentFile);
  document_.encoding = facts.encoding;
  document_.partialLoad = facts.partialLoad;
  document_.fileIdentity = facts.identity;
  markChanged();
  // The fields show the entry also when the index box already reads its number.
  const std::string number = std::to_string(facts.currentIndex);
  if (Text10.text() != number) setIndexBox(number);
  CurrentIndex = facts.currentIndex;
  ShowEntry();
}

}  // namespace obrel
