#include "platform/controls.h"

#include <algorithm>

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

void Control::setHeight(int twips) {
  if (twips == place.height) return;
  place.height = twips;
  touch();
}

void TextBox::setText(const std::string& text) {
  std::string cut = maxLength > 0 ? utf8::left(text, maxLength) : text;
  const std::size_t end = utf8::length(cut);
  replace(std::move(cut), end);
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

void TextBox::setCaret(std::size_t position) {
  caret_ = std::min(position, utf8::length(text_));
  selStart_ = 0;
  selLength_ = 0;
}

void TextBox::selectAll() {
  selStart_ = 0;
  selLength_ = utf8::length(text_);
  caret_ = selLength_;
}

void TextBox::applyKey(int code) {
  if (readOnly) return;
  const std::size_t length = utf8::length(text_);
  std::size_t from = caret_;
  std::size_t to = caret_;
  if (selLength_ > 0) {
    from = selStart_;
    to = selStart_ + selLength_;
  }
  std::string insert;
  if (code == 8) {
    if (from == to) {
      if (from == 0) return;
      --from;
    }
  } else if (code == 13) {
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

void MenuItem::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  ++revision_;
}

}  // namespace obrel
