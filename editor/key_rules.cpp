// The key rules of the eight time fields and the change rule of the entry text.
#include "editor/field_keys.h"
#include "editor/form2.h"

namespace obrel {

namespace {

// A time field's rule; any key enables "OK".
void timeKey(Form2& form, const TextBox& field, TimePart part, int& code, TextBox& next) {
  timeFieldKey(form, field, part, code, &next);
  form.Command3.setEnabled(true);
}

constexpr TimePart kHours = TimePart::Hours;
constexpr TimePart kMinutesSeconds = TimePart::MinutesSeconds;
constexpr TimePart kMillis = TimePart::Millis;

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
