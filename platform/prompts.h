#pragma once
// Modal message boxes and input boxes, as the window's handlers need them.
#include <optional>
#include <string>

namespace obrel {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { OK, YesNo, YesNoCancel };
enum class Answer { OK, Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows a modal message box; closing it without a button answers Cancel for
  // YesNoCancel, No for YesNo and OK for OK.
  virtual Answer messageBox(const std::string& text, const std::string& title, Icon icon,
                            Buttons buttons) = 0;
  // Shows a modal input box at (left, top) twips from the screen's corner; nullopt
  // when it is cancelled.
  virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText, int left,
                                              int top) = 0;
};

}  // namespace obrel
