// Moving between entries: the index box, "<", ">" and "Next >>".
#include <algorithm>
#include <optional>

#include "editor/field_keys.h"
#include "editor/form2.h"
#include "platform/numbers.h"

namespace obrel {

namespace {

// The entry the index box names: 1 when it is empty; nothing for a text that is no 16-bit
// number or one outside the store.
std::optional<std::int16_t> boxIndex(const TextBox& box) {
  if (box.text().empty()) return 1;
  const std::optional<std::int16_t> n = readInt16(box.text());
  if (!n || *n < EntryStore::kFirst || *n > EntryStore::kLast) return std::nullopt;
  return n;
}

}  // namespace

void Form2::ShowEntry() {
  ++entriesShown_;
  const Entry& e = document_.store.at(CurrentIndex);
  Text1.setText(e.StartHours);
  Text2.setText(e.StartMinutes);
  Text3.setText(e.StartSeconds);
  Text4.setText(e.StartMillis);
  Text5.setText(e.EndHours);
  Text6.setText(e.EndMinutes);
  Text7.setText(e.EndSeconds);
  Text8.setText(e.EndMillis);
  Text9.setText(e.EntryText);
}

void Form2::Text10_Change() {
  // A text that names no entry leaves CurrentIndex and the fields as they were.
  if (const std::optional<std::int16_t> k = boxIndex(Text10)) {
    CurrentIndex = *k;
    ShowEntry();
  }
}

void Form2::setIndexBox(const std::string& text) { Text10.setText(text); }

void Form2::Text10_KeyPress(int& code) {
  entryNumberKey(code);
  Command3.setEnabled(true);
}

void Form2::Command1_Click() { step(-1); }

void Form2::Command2_Click() { step(+1); }

void Form2::step(int by) {
  const std::optional<std::int16_t> box = boxIndex(Text10);
  if (!box) return;  // a box text that names no entry: nothing to step from
  const int from = Text10.text().empty() ? CurrentIndex : *box;
  const int to = std::clamp(from + by, 1, kLastEntry);
  CurrentIndex = static_cast<std::int16_t>(to);
  ShowEntry();
  Text10.setText(std::to_string(to));
}

void Form2::Command4_Click() {
  if (CurrentIndex >= kLastEntry) {
    // The index box cannot show 10000: stay on the last entry the box can name.
    CurrentIndex = kLastEntry;
    Text10.setText(std::to_string(kLastEntry));
    ShowEntry();
  } else {
    for (TextBox* box : {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9}) {
      box->setText("");
    }
    CurrentIndex = increment16(CurrentIndex);
    const std::string box = std::to_string(CurrentIndex);
    if (Text10.text() == box) {
      ShowEntry();
    } else {
      setIndexBox(box);
    }
  }
  Command4.setEnabled(false);
  Command3.setEnabled(true);
}

}  // namespace obrel
