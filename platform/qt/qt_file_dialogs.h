#pragma once
// The common file dialogs as QFileDialog: one made for each dialog name on its first use and
// kept, since making and closing a new one takes tens of milliseconds.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <string>

#include "platform/file_dialogs.h"

class QFileDialog;
class QWidget;

namespace obrel {

// "Description|pattern|..." as Qt's name filters, "Description (pattern)"; a description
// that already shows its pattern in parentheses stays as it is.
QStringList qtNameFilters(const std::string& filter);

class QtFileDialogs : public FileDialogs {
 public:
  QtFileDialogs() = default;
  ~QtFileDialogs() override;
  QtFileDialogs(const QtFileDialogs&) = delete;
  QtFileDialogs& operator=(const QtFileDialogs&) = delete;

  // Each use starts with nothing selected, the first filter chosen, in the folder of the
  // path this dialog last returned (the current folder before it has returned one).
  std::string show(const std::string& name, DialogKind kind, const std::string& title,
                   const std::string& filter) override;

  // Runs before a dialog shows, so the windows behind it show the handler's work so far.
  std::function<void()> beforeShow;
  // The window a dialog belongs to (kept above it); the active window when unset.
  std::function<QWidget*()> owner;

 private:
  struct Named {
    QPointer<QFileDialog> dialog;  // gone with the window it belonged to
    std::string filter;
    QString lastPath;
  };
  QFileDialog& prepared(Named& named, DialogKind kind, const std::string& title,
                        const std::string& filter);

  std::map<std::string, Named> named_;
};

}  // namespace obrel
