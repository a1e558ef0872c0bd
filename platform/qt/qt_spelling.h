#pragma once
// Spelling in a multi-line text widget: its misspelt words underlined with a red wavy line,
// and on a right-click on one, up to 8 corrections, "Add to Dictionary" and "Ignore" above
// the widget's own menu. Which words are misspelt is the model's to say (SpellingMarks); a
// highlighter asks it line by line, so a keystroke underlines its own line again only.
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/spelling/spelling_marks.h"

class QMenu;
class QPlainTextEdit;
class QPoint;
class QString;
class QSyntaxHighlighter;

namespace obrel {

class QtSpelling : public QObject {
 public:
  // Calls into the model, guarded and followed by a sync, as the view's host runs them.
  using Run = std::function<void(const char* where, const std::function<void()>& call)>;
  QtSpelling(QPlainTextEdit& widget, SpellingMarks& marks, Run run);

  // Underlines again when the marks changed since the last time (an option, a word added);
  // the widget's own edits are followed as they happen.
  void follow();

  // The menu for a right-click at (viewport coordinates), not yet shown; nullptr when
  // there is no underlined word there.
  QMenu* menuAt(const QPoint& at);

  // A misspelt word of one line of the widget, from and to in UTF-16 units from the line's
  // start.
  struct Word {
    std::string text;
    int from = 0;
    int to = 0;
  };
  static std::vector<Word> misspelt(SpellingMarks& marks, const QString& line);

 private:
  void offer(QMenu& menu, const Word& word);
  // Replaces word (from and to in the whole text) in the widget as typing over it would.
  void replace(const Word& word, const QString& with);

  QPlainTextEdit& widget_;
  SpellingMarks& marks_;
  Run run_;
  QSyntaxHighlighter* highlighter_;
  std::uint64_t shownRevision_;
};

}  // namespace obrel
