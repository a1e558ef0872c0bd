// The main window's side of the recovery copy: what it holds, and taking it back.
#include <string>
#include <utility>

#include "document/recovery_copy.h"
#include "editor/form2.h"

namespace obrel {

DocumentFacts Form2::recoveryFacts() const {
  DocumentFacts facts;
  facts.currentIndex = CurrentIndex;
  facts.currentFile = CurrentFile;
  facts.encoding = documentEncoding;
  facts.partialLoad = partialLoad;
  facts.identity = currentFileIdentity;
  return facts;
}

void Form2::restoreRecovered(RecoveredDocument document) {
  const DocumentFacts& facts = document.facts;
  store.take(std::move(document.store));
  savedRevision.reset();
  clearUndoHistory();
  CurrentFile = facts.currentFile;
  setCaption(CurrentFile.empty() ? "Obrel Dizivud" : "Obrel Dizivud - " + CurrentFile);
  documentEncoding = facts.encoding;
  partialLoad = facts.partialLoad;
  currentFileIdentity = facts.identity;
  markChanged();
  // The fields show the entry also when the index box already reads its number.
  const std::string number = std::to_string(facts.currentIndex);
  if (Text10.text() != number) setIndexBox(number);
  CurrentIndex = facts.currentIndex;
  ShowEntry();
}

}  // namespace obrel
