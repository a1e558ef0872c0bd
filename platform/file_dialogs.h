#pragma once
// The four common file dialogs of the main window.
#include <string>

namespace obrel {

enum class DialogKind { Open, Save };

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows a modal file dialog named name (CommonDialog1..4) with a title and a filter of
  // "Description|pattern" pairs (the first one selected); the chosen path, or the empty
  // path when the user cancels.
  virtual std::string show(const std::string& name, DialogKind kind, const std::string& title,
                           const std::string& filter) = 0;
};

}  // namespace obrel
