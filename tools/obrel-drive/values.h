#pragma once
// What `print` shows for a value of the main window, or for a property of a window, the
// media player, a menu item or a control, looked up by name.
#include <string>
#include <string_view>

namespace obrel {
class Control;
class Form;
class Form2;
class MediaPlayer;
class MenuItem;
}  // namespace obrel

namespace obrel::drive {

template <class T>
using ValueOf = std::string (*)(const T& of);

// Each returns nullptr when the name is not one of its values. A control's own properties
// depend on its kind: checked for check boxes and option buttons, items for combo boxes (the
// items quoted, separated by blanks; empty for none).
ValueOf<Form2> mainWindowValue(std::string_view name);
ValueOf<Form> windowProperty(std::string_view property);
ValueOf<MediaPlayer> playerProperty(std::string_view property);
ValueOf<MenuItem> menuProperty(std::string_view property);
ValueOf<Control> controlProperty(const Control& control, std::string_view property);

}  // namespace obrel::drive
