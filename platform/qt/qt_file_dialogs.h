#pragma once
// The common file dialogs as QFileDialog.
#include <QStringList>
#include <functional>
#include <map>
#include <string>

#include "platform/file_dialogs.h"

namespace obrel {

// "Description|pattern|..." as Qt's name filters, "Description (pattern)"; a description
// that already shows its pattern in parentheses stays as it is.
QStringList qtNameFilters(const std::string& filter);

class QtFileDialogs : public FileDialogs {
 public:
  std::string show(const std::string& name, DialogKind kind, const std::string& title,
                   const std::string& filter) override;

  // Runs before a dialog shows, so the windows behind it show the handler's work so far.
  std::function<void()> beforeShow;

 private:
  std::map<std::string, QString> lastFolder_;  // by dialog name: each reopens where it was left
};

}  // namespace obrel
