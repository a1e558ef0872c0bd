#pragma once
// The colours a subtitle's <font color=...> can name: the 148 colour names of web pages
// and "#RRGGBB".
#include <optional>
#include <string_view>

#include "platform/styled_runs.h"

namespace obrel {

// The colour a name stands for, in any case ("Red", "darkslategrey"); nullopt for others.
std::optional<Rgb> namedColour(std::string_view name);

// A color attribute's value: "#RRGGBB" (hex digits in any case) or a name, blanks around
// allowed; white for anything else.
Rgb readColour(std::string_view value);

}  // namespace obrel
