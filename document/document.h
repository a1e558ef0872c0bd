#pragma once
// The document being edited: its entries, the file it belongs to and how that file is
// written, whether it holds work not yet saved, and the steps Undo can take back. The main
// window owns one and is the only one to change it; everyone else reads it.
#include <cstdint>
#include <optional>
#include <string>

#include "document/entry_store.h"
#include "document/undo_history.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace obrel {

class Document {
 public:
  // The entries, slots 0 to 10000. Changed by the commit, the reading of a file, the Edit
  // commands, Undo and Redo, New and the taking back of a recovery copy.
  EntryStore store;
  // The file the document was read from or last saved to; empty for a new document. Set
  // by a load that stores an entry, by Save As and New, and from a recovery copy.
  std::string CurrentFile;
  // The encoding CurrentFile was read in or last written in; UTF-8 without a mark for a
  // new document. Set by a load, a save (as written), New and a recovery copy.
  TextEncoding encoding = TextEncoding::Utf8;
  // CurrentFile as last read or written, to tell whether another program changed it since;
  // none for a new document. Set by a load, a save, New and a recovery copy.
  std::optional<FileIdentity> fileIdentity;
  // Set by a load that left part of its file unread: Save then asks for a name, so that
  // what was read is not written over the whole file. Cleared by Save As and New.
  bool partialLoad = false;
  // The steps Undo and Redo take back and repeat. A step is recorded by each command that
  // changes the store; a load, New and a recovery copy forget them all.
  UndoHistory history;

  // Whether the store differs from the store as it was last loaded, saved or begun; a
  // recovered document holds unsaved work until it is saved.
  bool holdsUnsavedWork() const { return !savedRevision_ || store.revision() != *savedRevision_; }
  // The store as it stands is what its file holds (after a load or a save) or a new
  // document's start.
  void markSaved() { savedRevision_ = store.revision(); }
  // Unsaved whatever the store: a document taken from a recovery copy.
  void markUnsaved() { savedRevision_.reset(); }

  // File > New: slots 1 to 10000 emptied (slot 0 is never written to a file and stays), no
  // file, UTF-8, no marks, nothing to undo; saved.
  void startNew();

 private:
  // The store's revision when it was last marked saved; none for a recovered document.
  std::optional<std::uint64_t> savedRevision_ = std::uint64_t{0};
};

}  // namespace obrel
