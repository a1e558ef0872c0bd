#include "platform/qt/qt_spelling.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/qt/qt_text.h"

namespace obrel {

namespace {

constexpr int kShownSuggestions = 8;

// The length in the widget of a stretch of a line: UTF-16 units.
int widgetLength(std::string_view text) {
  return static_cast<int>(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).size());
}

// Underlines the misspelt words of each line (a block of the document) Qt asks about: all of
// them at first, then those an edit changed.
class Highlighter : public QSyntaxHighlighter {
 public:
  Highlighter(QTextDocument* document, SpellingMarks& marks)
      : QSyntaxHighlighter(document), marks_(marks) {
    wavy_.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    wavy_.setUnderlineColor(Qt::red);
  }

 protected:
  void highlightBlock(const QString& line) override {
    for (const QtSpelling::Word& word : QtSpelling::misspelt(marks_, line)) {
      setFormat(word.from, word.to - word.from, wavy_);
    }
  }

 private:
  SpellingMarks& marks_;
  QTextCharFormat wavy_;
};

}  // namespace

QtSpelling::QtSpelling(QPlainTextEdit& widget, SpellingMarks& marks, Run run)
    : QObject(&widget),
      widget_(widget),
      marks_(marks),
      run_(std::move(run)),
      highlighter_(new Highlighter(widget.document(), marks)),
      shownRevision_(marks.revision()) {
  highlighter_->setParent(this);
  widget_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&widget_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu* menu = menuAt(at);
    if (!menu) {
      menu = widget_.createStandardContextMenu();
      menu->setAttribute(Qt::WA_DeleteOnClose);
    }
    menu->popup(widget_.viewport()->mapToGlobal(at));
  });
}

std::vector<QtSpelling::Word> QtSpelling::misspelt(SpellingMarks& marks, const QString& line) {
  const std::string text = line.toStdString();
  std::vector<Word> words;
  std::size_t byte = 0;
  int at = 0;
  for (const TextSpan& span : marks.misspelt(text)) {
    const std::string_view view(text);
    at += widgetLength(view.substr(byte, span.start - byte));
    const int length = widgetLength(view.substr(span.start, span.length));
    words.push_back({std::string(view.substr(span.start, span.length)), at, at + length});
    byte = span.start + span.length;
    at += length;
  }
  return words;
}

void QtSpelling::follow() {
  if (marks_.revision() == shownRevision_) return;
  shownRevision_ = marks_.revision();
  highlighter_->rehighlight();
}

QMenu* QtSpelling::menuAt(const QPoint& at) {
  const QTextCursor clicked = widget_.cursorForPosition(at);
  const int position = clicked.positionInBlock();
  const int line = clicked.block().position();
  for (Word word : misspelt(marks_, clicked.block().text())) {
    if (position < word.from || position > word.to) continue;
    word.from += line;
    word.to += line;
    QMenu* menu = widget_.createStandardContextMenu();
    menu->setObjectName(QStringLiteral("SpellingMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    offer(*menu, word);
    return menu;
  }
  return nullptr;
}

void QtSpelling::offer(QMenu& menu, const Word& word) {
  QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().first();
  std::vector<std::string> suggestions;
  run_("spelling", [&] { suggestions = marks_.suggestions(word.text); });
  if (suggestions.size() > kShownSuggestions) suggestions.resize(kShownSuggestions);
  for (const std::string& s : suggestions) {
    auto* choice = new QAction(plainCaption(s), &menu);
    choice->setObjectName(QStringLiteral("Suggestion"));
    connect(choice, &QAction::triggered, this, [this, word, s] { replace(word, qs(s)); });
    menu.insertAction(first, choice);
  }
  if (suggestions.empty()) {
    auto* none = new QAction(QStringLiteral("(No Suggestions)"), &menu);
    none->setEnabled(false);
    menu.insertAction(first, none);
  }
  menu.insertSeparator(first);
  auto* add = new QAction(QStringLiteral("Add to Dictionary"), &menu);
  add->setObjectName(QStringLiteral("AddToDictionary"));
  connect(add, &QAction::triggered, this, [this, text = word.text] {
    run_("spelling", [this, &text] { marks_.addToDictionary(text); });
  });
  menu.insertAction(first, add);
  auto* ignore = new QAction(QStringLiteral("Ignore"), &menu);
  ignore->setObjectName(QStringLiteral("Ignore"));
  connect(ignore, &QAction::triggered, this,
          [this, text = word.text] { run_("spelling", [this, &text] { marks_.ignore(text); }); });
  menu.insertAction(first, ignore);
  if (first) menu.insertSeparator(first);
}

void QtSpelling::replace(const Word& word, const QString& with) {
  QTextCursor cursor(widget_.document());
  cursor.setPosition(word.from);
  cursor.setPosition(word.to, QTextCursor::KeepAnchor);
  // The text may have changed while the menu was open: only the word itself is replaced.
  if (cursor.selectedText() != qs(word.text)) return;
  // Through the widget, as typed: the box's change handler sees a user's edit, and the
  // widget's own undo takes it back.
  cursor.insertText(with);
  widget_.setTextCursor(cursor);
}

}  // namespace obrel
