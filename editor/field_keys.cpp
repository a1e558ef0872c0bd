#include "editor/field_keys.h"

#include "platform/utf8.h"

namespace obrel {

void timeFieldKey(Form& form, const TextBox& field, TimePart part, int& code, TextBox* next) {
  // Every step looks at the field as it was before the key, and the focus moves on for a
  // dropped key too, so a run of digits fills a whole time.
  const bool empty = field.text().empty();
  const int highestDigit = empty && part == TimePart::MinutesSeconds ? 5 : 9;
  if (!(code == kBackspace || (code >= '0' && code <= '0' + highestDigit))) code = 0;
  const std::size_t fullBefore = part == TimePart::Millis ? 2 : 1;
  if (next && utf8::length(field.text()) == fullBefore) form.setFocus(next);
}

void entryNumberKey(int& code) {
  if (!((code >= '0' && code <= '9') || code == kBackspace)) code = 0;
}

}  // namespace obrel
