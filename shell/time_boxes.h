#pragma once
// Four boxes that hold a time as hours, minutes, seconds and milliseconds, with the key rules
// of the main window's time fields, for the timing windows.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/form.h"

namespace obrel {

using TimeBoxes = std::array<TextBox*, 4>;
// The ":", ":" and "," between them.
using TimeSeparators = std::array<Control*, 3>;

// Places the boxes in a row from (left, top) in container with the separators between them,
// names them "<name> hours" .. "<name> milliseconds", and gives them the time-field key
// rules of form (the focus moves from a full box to the next, and stays in the last).
void defineTimeBoxes(Form& form, const TimeBoxes& boxes, const TimeSeparators& separators,
                     const char* container, int left, int top, const std::string& name);

// The time the boxes hold, in milliseconds: each box empty (0) or ASCII digits; nullopt
// when one holds anything else.
std::optional<std::int64_t> timeIn(const TimeBoxes& boxes);
inline constexpr const char* kTimeDigitsMessage = "A time is written in digits only.";

// Writes millis (0 to 99:59:59,999) into the boxes as the timing line writes it: 00 00 01 500.
void showTime(const TimeBoxes& boxes, std::int64_t millis);
void clearTime(const TimeBoxes& boxes);

}  // namespace obrel
