#pragma once
// Key combinations as menu items declare their shortcuts ("Ctrl+Shift+T", "F3", "Shift+F3"),
// in the names Qt reads them by.
#include <optional>
#include <string>
#include <string_view>

namespace obrel {

// The one spelling of a key combination: its modifiers in the order Meta, Ctrl, Alt, Shift,
// then one key: a letter or digit (upper case), F1 .. F35, or one of Esc, Tab, Backspace,
// Return, Enter, Ins, Del, Home, End, Left, Up, Right, Down, PgUp, PgDown, Space. Names are
// read in any case and modifiers in any order; nullopt for anything else (an unknown name, a
// modifier twice or alone).
std::optional<std::string> canonicalKeys(std::string_view keys);

}  // namespace obrel
