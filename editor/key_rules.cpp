// The key rules of the eight time fields and the change rule of the entry text.
#include "editor/form2.h"
#include "platform/utf8.h"

namespace obrel {

namespace {

struct TimeField {
  // Minutes and seconds take only "0" to "5" as the first character of an empty field.
  bool firstDigitUpToFive;
  // The focus moves on when the field holds this many characters before the key.
  std::size_t fullBefore;
};

constexpr TimeField kHours{false, 1};
constexpr TimeField kMinutesSeconds{true, 1};
constexpr TimeField kMillis{false, 2};

// One key typed into a time field: every step looks at the field as it was before the key,
// and the focus moves on for a dropped key too, so a run of digits fills a whole time.
void timeKey(Form2& form, const TextBox& field, const TimeField& rule, int& code, TextBox& next) {
  const bool empty = field.text().empty();
  const int highestDigit = empty && rule.firstDigitUpToFive ? 5 : 9;
  if (!(code == kBackspace || (code >= '0' && code <= '0' + highestDigit))) code = 0;
  form.Command3.setEnabled(true);
  if (utf8::length(field.text()) == rule.fullBefore) form.setFocus(&next);
}

}  // namespace

void Form2::Text1_KeyPress(int& code) { timeKey(*this, Text1, kHours, code, Text2); }
void Form2::Text2_KeyPress(int& code) { timeKey(*this, Text2, kMinutesSeconds, code, Text3); }
void Form2::Text3_KeyPress(int& code) { timeKey(*this, Text3, kMinutesSeconds, code, Text4); }

void Form2::Text4_KeyPress(int& code) {
  // Field Block disables the end hours: skip to the end minutes.
  timeKey(*this, Text4, kMillis, code, FBlock.checked() ? Text6 : Text5);
}

void Form2::Text5_KeyPress(int& code) { timeKey(*this, Text5, kHours, code, Text6); }
void Form2::Text6_KeyPress(int& code) { timeKey(*this, Text6, kMinutesSeconds, code, Text7); }
void Form2::Text7_KeyPress(int& code) { timeKey(*this, Text7, kMinutesSeconds, code, Text8); }
void Form2::Text8_KeyPress(int& code) { timeKey(*this, Text8, kMillis, code, Text9); }

void Form2::Text9_Change() { Command3.setEnabled(true); }

}  // namespace obrel
