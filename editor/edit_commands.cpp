// The Edit menu: Insert New Entry, Clear Entry and Delete Entry, each working on an entry
// number asked for in an input box.
#include <optional>
#include <utility>

#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/prompts.h"

namespace obrel {

namespace {

constexpr int kInputLeft = 7000;  // twips from the screen's corner
constexpr int kInputTop = 3000;

// Asks for an entry number. A cancel, an empty reply, a reply that is no number and one
// outside -32768 to 32767 all give nullopt: the command then ends silently. Blanks, a
// sign and a fraction (rounded half to even) are accepted.
std::optional<std::int16_t> askIndex(Prompts& prompts, const std::string& prompt,
                                     const std::string& title) {
  const std::optional<std::string> reply =
      prompts.inputBox(prompt, title, "", kInputLeft, kInputTop);
  if (!reply) return std::nullopt;
  return readInt16(*reply);
}

void emptyFields(Form2& form) {
  for (TextBox* box : {&form.Text1, &form.Text2, &form.Text3, &form.Text4, &form.Text5, &form.Text6,
                       &form.Text7, &form.Text8, &form.Text9}) {
    box->setText("");
  }
}

}  // namespace

void Form2::InsertNewEntry_Click() {
  try {
    const std::optional<std::int16_t> n =
        askIndex(services_.prompts, "Add Entry Index [1 - 9999] : ", "Insert New Entry");
    if (!n) return;
    // The last slot must be free: the shift would drop the entry standing there.
    if (*n < 1 || *n > kLastEntry || !document_.store.at(EntryStore::kLast).empty()) {
      services_.prompts.messageBox("Entry not Allowed!", "Error", Icon::Exclamation, Buttons::OK);
      return;
    }
    if (!document_.store.at(*n - 1).timed() &&
        services_.prompts.messageBox("Continue Anyway?", "Previous entry is not Present!",
                                     Icon::Exclamation, Buttons::YesNo) != Answer::Yes) {
      return;
    }
    CurrentIndex = *n;
    setIndexBox(std::to_string(*n));
    emptyFields(*this);
    // Entries n.. move one slot up; what slot 10000 held, empty as checked above, drops out
    // of the store into the step.
    Entry dropped = document_.store.insertAt(*n);
    markChanged();
    remember({UndoStep::Kind::Insert, *n, std::move(dropped), {}});
  } catch (const Failure&) {
    // The command's failure trap: it ends here, keeping what was done.
  }
}

void Form2::ClearEntry_Click() {
  try {
    const std::optional<std::int16_t> a =
        askIndex(services_.prompts, "Enter entry index to be cleared :", "Clear Entry");
    if (!a || *a < 1 || *a > kLastEntry) return;
    CurrentIndex = *a;
    Entry cleared = std::exchange(document_.store.edit(*a), Entry{});
    markChanged();
    remember({UndoStep::Kind::Clear, *a, std::move(cleared), {}});
    setIndexBox(std::to_string(*a));
    emptyFields(*this);
  } catch (const Failure&) {
    // The command's failure trap: it ends here, keeping what was done.
  }
}

void Form2::DeleteEntry_Click() {
  try {
    const std::optional<std::int16_t> k =
        askIndex(services_.prompts, "Enter Entry Index :", "Delete Entry");
    if (!k || *k < EntryStore::kFirst || *k > EntryStore::kLast) return;
    if (!document_.store.at(*k).timed() || CurrentIndex < 1 || CurrentIndex > kLastEntry) {
      services_.prompts.messageBox("Entry Doesn't Exists!", "", Icon::Exclamation, Buttons::OK);
      return;
    }
    // The last slot is free after the shift, also when it was the one deleted.
    Entry removed = document_.store.removeAt(*k);
    markChanged();
    remember({UndoStep::Kind::Delete, *k, std::move(removed), {}});
    // CurrentIndex from the index box as its change rule reads it (1 when empty; a text
    // naming no entry keeps CurrentIndex, which lies in 1 to 9999), and the fields show what
    // now stands there, so that "OK" cannot write the deleted entry over the one that moved
    // into its slot.
    const std::optional<std::int16_t> box =
        Text10.text().empty() ? std::optional<std::int16_t>(1) : readInt16(Text10.text());
    if (box && *box >= EntryStore::kFirst && *box <= EntryStore::kLast) CurrentIndex = *box;
    ShowEntry();
  } catch (const Failure&) {
    // The command's failure trap: it ends here, keeping what was done.
  }
}

}  // namespace obrel
