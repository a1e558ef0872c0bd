#pragma once
// The key rules the main window's time fields and index box follow, shared with the boxes of
// the timing windows that take times and entry numbers.
#include "platform/form.h"

namespace obrel {

// Which part of a time a box holds.
enum class TimePart { Hours, MinutesSeconds, Millis };

// One key typed into field, a box of form holding part: anything but Backspace and the digits
// the part takes is dropped (code 0; minutes and seconds take only 0 to 5 first in an empty
// box). When the field is full but for this key the focus moves to next (none: it stays); a
// kept key then lands in field.
void timeFieldKey(Form& form, const TextBox& field, TimePart part, int& code, TextBox* next);

// An entry-number box takes digits and Backspace only.
void entryNumberKey(int& code);

}  // namespace obrel
