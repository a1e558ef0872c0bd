#include "shell/time_boxes.h"

#include "document/entry_times.h"
#include "editor/field_keys.h"

namespace obrel {

namespace {

constexpr int kBoxWidth = 465;
constexpr int kMillisWidth = 600;
constexpr int kSeparatorWidth = 120;
constexpr int kHeight = 315;

}  // namespace

void defineTimeBoxes(Form& form, const TimeBoxes& boxes, const TimeSeparators& separators,
                     const char* container, int left, int top, const std::string& name) {
  static const char* const parts[] = {"hours", "minutes", "seconds", "milliseconds"};
  static const char* const marks[] = {":", ":", ","};
  static const TimePart rules[] = {TimePart::Hours, TimePart::MinutesSeconds,
                                   TimePart::MinutesSeconds, TimePart::Millis};
  int x = left;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    TextBox& box = *boxes[i];
    const int width = i == 3 ? kMillisWidth : kBoxWidth;
    box.container = container;
    box.place = {x, top, width, kHeight};
    box.maxLength = i == 3 ? 3 : 2;
    box.accessibleName = name + " " + parts[i];
    TextBox* next = i + 1 < boxes.size() ? boxes[i + 1] : nullptr;
    box.onKeyPress = [&form, &box, part = rules[i], next](int& code) {
      timeFieldKey(form, box, part, code, next);
    };
    x += width;
    if (i < separators.size()) {
      Control& mark = *separators[i];
      mark.container = container;
      mark.place = {x, top, kSeparatorWidth, kHeight};
      mark.setCaption(marks[i]);
      x += kSeparatorWidth;
    }
  }
}

std::optional<std::int64_t> timeIn(const TimeBoxes& boxes) {
  std::int64_t values[4] = {};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (const char c : boxes[i]->text()) {
      if (c < '0' || c > '9') return std::nullopt;
      values[i] = values[i] * 10 + (c - '0');
    }
  }
  return millisOf(values[0], values[1], values[2], values[3]);
}

void showTime(const TimeBoxes& boxes, std::int64_t millis) {
  // "01:02:03,004": the parts at 0, 3, 6 and 9.
  const std::string line = formatTime(millis);
  boxes[0]->setText(line.substr(0, 2));
  boxes[1]->setText(line.substr(3, 2));
  boxes[2]->setText(line.substr(6, 2));
  boxes[3]->setText(line.substr(9, 3));
}

void clearTime(const TimeBoxes& boxes) {
  for (TextBox* box : boxes) box->setText("");
}

}  // namespace obrel
