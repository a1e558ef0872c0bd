#pragma once
// Message boxes and input boxes as Qt dialogs, each over the window owner() names.
#include <functional>

#include "platform/prompts.h"

class QWidget;

namespace obrel {

class QtPrompts : public Prompts {
 public:
  Answer messageBox(const std::string& text, const std::string& title, Icon icon,
                    Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText, int left, int top) override;

  // Runs before a dialog shows, so the windows behind it show the handler's work so far.
  std::function<void()> beforeShow;
  // The window a dialog belongs to (kept above it); the active window when unset.
  std::function<QWidget*()> owner;

 private:
  QWidget* dialogOwner() const;
};

}  // namespace obrel
