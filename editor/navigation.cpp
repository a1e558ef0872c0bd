// Moving between entries: the index box, "<", ">" and "Next >>".
#include <algorithm>
#include <utility>

#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/numbers.h"

namespace obrel {

namespace {

// The index box's number: 1 when it is empty. Throws TypeMismatch or Overflow for a text
// that does not read as a 16-bit number, IndexOutOfRange for one outside the store.
std::int16_t boxIndex(const TextBox& box) {
  if (box.text().empty()) return 1;
  const std::int16_t n = readInt16(box.text());
  if (n < EntryStore::kFirst || n > EntryStore::kLast) throw IndexOutOfRange();
  return n;
}

}  // namespace

void Form2::ShowEntry() {
  const Entry& e = store.at(CurrentIndex);
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
  // A text outside the store leaves CurrentIndex and the fields as they were.
  indexBoxFailure_ = nullptr;
  try {
    CurrentIndex = boxIndex(Text10);
    ShowEntry();
  } catch (const Failure&) {
    indexBoxFailure_ = std::current_exception();
  }
}

void Form2::setIndexBox(const std::string& text) {
  indexBoxFailure_ = nullptr;
  Text10.setText(text);
  if (indexBoxFailure_) std::rethrow_exception(std::exchange(indexBoxFailure_, nullptr));
}

void Form2::Text10_KeyPress(int& code) {
  if (!((code >= '0' && code <= '9') || code == kBackspace)) code = 0;
  Command3.setEnabled(true);
}

void Form2::Command1_Click() { step(-1); }

void Form2::Command2_Click() { step(+1); }

void Form2::step(int by) {
  int from = CurrentIndex;
  try {
    if (!Text10.text().empty()) from = boxIndex(Text10);
  } catch (const Failure&) {
    return;  // a box text that names no entry: nothing to step from
  }
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
