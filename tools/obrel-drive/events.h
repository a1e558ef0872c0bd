#pragma once
// The lines the driver prints for what the program shows: message boxes, input boxes, file
// dialogs and the browser.
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

}  // namespace obrel::drive
