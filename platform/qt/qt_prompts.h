#pragma once
// Message boxes and input boxes as Qt dialogs, owned by the active window.
#include <functional>

#include "platform/prompts.h"

namespace obrel {

class QtPrompts : public Prompts {
 public:
  Answer messageBox(const std::string& text, const std::string& title, Icon icon,
                    Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText, int left, int top) override;

  // Runs before a dialog shows, so the windows behind it show the handler's work so far.
  std::function<void()> beforeShow;
};

}  // namespace obrel
