#include "platform/controls.h"

#include <algorithm>
#include <string_view>

#include "platform/utf8.h"

namespace obrel {

void Control::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  touch();
}

void Control::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  touch();
}

void Control::setVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  touch();
}

void Control::setCovered(bool on) {
  if (covered_ == on) return;
  covered_ = on;
  touch();
}

void Control::setHeight(int twips) {
  if (twips == place.height) return;
  place.height = twips;
  touch();
}

void TextBox::setText(std::string_view text) {
  // The reader and the navigation set ten boxes per entry: compare before copying, and
  // copy into the box's own buffer, so that a set allocates only when the text outgrows it.
  std::string_view cut = text;
  // A text of no more bytes than the limit has no more characters either.
  const auto limit = static_cast<std::size_t>(maxLength);
  if (maxLength > 0 && cut.size() > limit) cut = cut.substr(0, utf8::offset(cut, limit));
  selStart_ = 0;
  selLength_ = 0;
  caret_ = kAtEnd;
  if (cut == text_) return;
  text_.assign(cut);
  touch();
  if (onChange) onChange();
}

void TextBox::replace(std::string text, std::size_t caret) {
  selStart_ = 0;
  selLength_ = 0;
  caret_ = caret;
  if (text == text_) return;
  text_ = std::move(text);
  touch();
  if (onChange) onChange();
}

std::size_t TextBox::caret() const { return caret_ == kAtEnd ? utf8::length(text_) : caret_; }

void TextBox::setCaret(std::size_t position) {
  caret_ = std::min(position, utf8::length(text_));
  selStart_ = 0;
  selLength_ = 0;
}

void TextBox::selectAll() { select(0, utf8::length(text_)); }

void TextBox::select(std::size_t start, std::size_t length) {
  const std::size_t total = utf8::length(text_);
  selStart_ = std::min(start, total);
  selLength_ = std::min(length, total - selStart_);
  caret_ = selStart_ + selLength_;
  ++selectionRevision_;
  touch();
}

void TextBox::userSelected(std::size_t anchor, std::size_t caret) {
  const std::size_t total = utf8::length(text_);
  anchor = std::min(anchor, total);
  caret_ = std::min(caret, total);
  selStart_ = std::min(anchor, caret_);
  selLength_ = std::max(anchor, caret_) - selStart_;
}

void TextBox::applyKey(int code) {
  if (readOnly) return;
  const std::size_t length = utf8::length(text_);
  std::size_t from = caret();
  std::size_t to = from;
  if (selLength_ > 0) {
    from = selStart_;
    to = selStart_ + selLength_;
  }
  std::string insert;
  if (code == kBackspace) {
    if (from == to) {
      if (from == 0) return;
      --from;
    }
  } else if (code == kEnter) {
    if (!multiLine) return;
    insert = "\r\n";
  } else if (code < 32 || code == 127) {
    return;
  } else {
    utf8::append(insert, static_cast<char32_t>(code));
    if (from == to && maxLength > 0 && length >= static_cast<std::size_t>(maxLength)) return;
  }
  const std::size_t a = utf8::offset(text_, from);
  const std::size_t b = utf8::offset(text_, to);
  std::string next = text_.substr(0, a) + insert + text_.substr(b);
  replace(std::move(next), from + utf8::length(insert));
}

void MenuItem::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  ++revision_;
}

void MenuItem::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ++revision_;
}

void Table::rowsChanged() {
  ++rowsRevision_;
  touch();
}

void Table::select(int row) {
  if (row == selected_) return;
  selected_ = row;
  touch();
}

void MenuItem::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  ++revision_;
}

void ComboBox::setItems(std::vector<std::string> items) {
  if (items == items_) return;
  items_ = std::move(items);
  ++itemsRevision_;
  touch();
}

TextBox* asTextBox(Control* control) {
  const bool box = control && (control->kind() == ControlKind::TextBox ||
                               control->kind() == ControlKind::ComboBox);
  return box ? static_cast<TextBox*>(control) : nullptr;
}

const TextBox* asTextBox(const Control* control) {
  return asTextBox(const_cast<Control*>(control));
}

void CheckBox::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  touch();
}

void OptionButton::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  touch();
}

bool hasMark(const Control& control) {
  return control.kind() == ControlKind::CheckBox || control.kind() == ControlKind::OptionButton;
}

bool markOf(const Control& control) {
  switch (control.kind()) {
    case ControlKind::CheckBox: return static_cast<const CheckBox&>(control).checked();
    case ControlKind::OptionButton: return static_cast<const OptionButton&>(control).checked();
    default: return false;
  }
}

void typeKey(TextBox& box, int code, const std::function<void(int kept)>& apply) {
  if (box.onKeyPress) box.onKeyPress(code);
  if (code == 0) return;
  if (apply) {
    apply(code);
  } else {
    box.applyKey(code);
  }
}

}  // namespace obrel
