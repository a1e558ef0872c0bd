#pragma once
// The lines the driver prints for what the program shows: message boxes, input boxes, file
// dialogs, the browser and the player.
#include <cstdint>
#include <string>

#include "testing/fakes.h"

namespace obrel::drive {

// msgbox "TEXT" title="TITLE" icon=ICON buttons=BUTTONS -> ANSWER
std::string messageBoxLine(const fake::MessageBoxShown& box);
// inputbox "PROMPT" title="TITLE" default="DEFAULT" at=LEFT,TOP -> "REPLY" | cancel
std::string inputBoxLine(const fake::InputBoxShown& box);
// dialog NAME open|save title="TITLE" filter="FILTER" -> "PATH" | cancel
std::string dialogLine(const fake::DialogShown& dialog);
// browser "URL"
std::string browserLine(const std::string& url);
// player play FROM pause at TO | player paused at FROM (a span that does not reach past
// FROM), in seconds
std::string playSpanLine(std::int64_t from, std::int64_t to);

}  // namespace obrel::drive
