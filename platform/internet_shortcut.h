#pragma once
// Internet shortcut files (.url), such as those beside the program, opened in the desktop's
// default browser.
#include <optional>
#include <string>
#include <string_view>

namespace obrel {

class Browser;
class FileSystem;

// The address named by the URL= line of the [InternetShortcut] section of a shortcut's
// text, when it is an http or https address; std::nullopt otherwise.
std::optional<std::string> shortcutUrl(std::string_view text);

// Hands the address of the shortcut file at path to the browser, without waiting. A missing
// or unreadable file, or an address that is not http or https, does nothing.
void openWebLink(FileSystem& files, Browser& browser, const std::string& path);

}  // namespace obrel
