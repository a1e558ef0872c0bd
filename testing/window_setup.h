#pragma once
// Ways for tests, fuzz targets and benchmarks to set the main window up as the program would:
// through its handlers, as a user does, or by taking a prepared document as a recovery copy
// is taken. Nothing here writes the window's fields.
#include <array>
#include <string>
#include <utility>

#include "document/recovery_copy.h"
#include "editor/form2.h"
#include "platform/prompts.h"

namespace obrel::fake {

// The eight time parts of an entry that starts at 1 s and ends at 2.5 s.
inline const std::array<std::string, 8> kSomeTimes{"00", "00", "01", "000",
                                                   "00", "00", "02", "500"};

// Stores an entry as the user does: k into the index box, the eight time parts and the text
// into the fields, then "OK".
inline void commitEntry(Form2& form, int k, const std::string& text,
                        const std::array<std::string, 8>& parts = kSomeTimes) {
  form.setIndexBox(std::to_string(k));
  TextBox* const boxes[] = {&form.Text1, &form.Text2, &form.Text3, &form.Text4,
                            &form.Text5, &form.Text6, &form.Text7, &form.Text8};
  for (std::size_t i = 0; i < parts.size(); ++i) boxes[i]->setText(parts[i]);
  form.Text9.setText(text);
  form.Command3_Click();
}

// Takes store and facts as the document, as a recovery copy's are taken: any slot may hold
// any values, and the document is a change not yet saved. For states no command reaches.
inline void takeDocument(Form2& form, EntryStore store, DocumentFacts facts = {}) {
  form.restoreRecovered({std::move(store), std::move(facts)});
}

// File > Open > Subtitle File (.srt) of path in a window over the stand-ins, as the user
// opens it: No to the save prompt when it will ask, path in the dialog.
template <class Window>
void openSrt(Window& w, const std::string& path) {
  if (w.form.ChangeCount != 0) w.prompts.answers.push_back(Answer::No);
  w.dialogs.choices.push_back(path);
  w.form.OpenSrt_Click();
}

}  // namespace obrel::fake
