#include "document/document.h"

namespace obrel {

void Document::startNew() {
  store.clearFrom(1);
  CurrentFile.clear();
  encoding = TextEncoding::Utf8;
  fileIdentity.reset();
  partialLoad = false;
  history.clear();
  markSaved();
}

}  // namespace obrel
