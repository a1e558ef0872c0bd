#pragma once
// Spelling in a multi-line text widget: its misspelt words underlined with a red wavy line,
// and on a right-click on one, up to 8 corrections, "Add to Dictionary" and "Ignore" above
// the widget's own menu. Which words are misspelt is the model's to say (SpellingMarks).
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/spelling/spelling_marks.h"

class QMenu;
class QPlainTextEdit;
class QPoint;

namespace obrel {

class TextBox;

class QtSpelling : public QObject {
 public:
  // Calls into the model, guarded and followed by a sync, as the view's host runs them.
  using Run = std::function<void(const char* where, const std::function<void()>& call)>;
  QtSpelling(QPlainTextEdit& widget, const TextBox& box, SpellingMarks& marks, Run run);

  // Underlines again when the box's text or the marks changed since the last time. The
  // widget must show the box's text.
  void follow();

  // The menu for a right-click at (viewport coordinates), not yet shown; nullptr when
  // there is no underlined word there.
  QMenu* menuAt(const QPoint& at);

 private:
  struct Word {
    std::string text;
    int from = 0;  // in the widget's text (UTF-16, "\n" line ends)
    int to = 0;
  };
  void offer(QMenu& menu, const Word& word);
  // Replaces word in the widget as typing over it would.
  void replace(const Word& word, const QString& with);

  QPlainTextEdit& widget_;
  const TextBox& box_;
  SpellingMarks& marks_;
  Run run_;
  std::string shownText_;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  std::vector<Word> words_;
};

}  // namespace obrel
