// Find and Replace over the stored entry texts: the searches, Replace and Replace All of the
// Find and Replace window, and the keys that reach them from the main window.
#include <string>
#include <utility>

#include "editor/form2.h"
#include "platform/prompts.h"

namespace obrel {

namespace {

const char* const kTitle = "Obrel Dizivud";

}  // namespace

void Form2::FindAndReplace_Click() { showFindWindow("Text1"); }

void Form2::ReplaceKey_Click() { showFindWindow("Text2"); }

void Form2::showFindWindow(const char* box) {
  Form* window = shell_.showToolWindow("Form9");
  if (!window) return;
  if (TextBox* field = window->findTextBox(box); field && window->setFocus(field)) {
    field->selectAll();
  }
}

void Form2::FindNextKey_Click() {
  if (findRequest_.findWhat.empty()) {
    showFindWindow("Text1");
  } else {
    FindNext();
  }
}

void Form2::FindPreviousKey_Click() {
  if (findRequest_.findWhat.empty()) {
    showFindWindow("Text1");
  } else {
    FindPrevious();
  }
}

void Form2::FindNext() { search(true); }

void Form2::FindPrevious() { search(false); }

std::optional<EntryMatch> Form2::presentMatch() const {
  // Showing any entry, by any command but a search, forgets the match.
  if (!match_ || matchShown_ != entriesShown_ || CurrentIndex != match_->slot) return std::nullopt;
  return match_;
}

void Form2::tellNotFound(const SearchQuery& query) {
  const std::string text =
      query.valid() ? "Cannot find \"" + findRequest_.findWhat + "\"." : query.error();
  services_.prompts.messageBox(text, kTitle, query.valid() ? Icon::Information : Icon::Exclamation,
                               Buttons::OK);
}

void Form2::search(bool forward, std::optional<SearchPosition> from) {
  if (findRequest_.findWhat.empty()) return;
  const SearchQuery query(findRequest_.findWhat, findRequest_.options);
  if (!from) {
    if (const std::optional<EntryMatch> present = presentMatch()) {
      from = forward ? present->after() : present->before();
    } else {
      from = positionAtCharacter(document_.store, CurrentIndex, Text9.caret());
    }
  }
  const std::optional<EntryMatch> found = forward ? findNext(document_.store, query, *from)
                                                  : findPrevious(document_.store, query, *from);
  if (!found) {
    tellNotFound(query);
    return;
  }
  showEntryAt(found->slot);
  Text9.select(found->startCharacters, found->lengthCharacters);
  match_ = found;
  matchShown_ = entriesShown_;
}

void Form2::ReplaceMatch() {
  const std::optional<EntryMatch> present = presentMatch();
  if (!present) {
    search(true);
    return;
  }
  const SearchQuery query(findRequest_.findWhat, findRequest_.options);
  const std::size_t before = document_.store.at(present->slot).EntryText.size();
  std::optional<TextChanges> changes =
      replaceMatch(document_.store, query, *present, findRequest_.replaceWith);
  if (!changes) {
    // The stored text changed under the match ("OK"): look again from where it stood.
    if (query.valid()) {
      search(true, present->before());
    } else {
      tellNotFound(query);
    }
    return;
  }
  const std::size_t after = document_.store.at(present->slot).EntryText.size();
  markChanged();
  remember(UndoStep::texts(CurrentIndex, "Replace", std::move(*changes)));
  showEntryAt(present->slot);
  // On after the replacement, which is never searched again before the wrap round.
  search(true, SearchPosition{present->slot, present->start + present->length + after - before});
}

void Form2::ReplaceAll() {
  if (findRequest_.findWhat.empty()) return;
  const SearchQuery query(findRequest_.findWhat, findRequest_.options);
  ReplaceAllResult result = obrel::replaceAll(document_.store, query, findRequest_.replaceWith);
  if (result.replacements == 0) {
    tellNotFound(query);
    return;
  }
  markChanged();
  remember(UndoStep::texts(CurrentIndex, "Replace All", std::move(result.changes)));
  // The fields show the stored texts, as after Undo; slot 10000 is no entry the box names.
  if (CurrentIndex >= EntryStore::kFirst && CurrentIndex < EntryStore::kLast) {
    showEntryAt(CurrentIndex);
  }
  const std::string text = result.replacements == 1
                               ? std::string("1 replacement was made.")
                               : std::to_string(result.replacements) + " replacements were made.";
  services_.prompts.messageBox(text, kTitle, Icon::Information, Buttons::OK);
}

}  // namespace obrel
