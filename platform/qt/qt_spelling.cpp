#include "platform/qt/qt_spelling.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "platform/controls.h"
#include "platform/qt/qt_text.h"

namespace obrel {

namespace {

constexpr int kShownSuggestions = 8;

// The length in the widget's text of a stretch of the model's: UTF-16 units, CR LF as one.
int widgetLength(std::string_view text) {
  int crlf = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++crlf;
  }
  return static_cast<int>(
             QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).size()) -
         crlf;
}

}  // namespace

QtSpelling::QtSpelling(QPlainTextEdit& widget, const TextBox& box, SpellingMarks& marks, Run run)
    : QObject(&widget), widget_(widget), box_(box), marks_(marks), run_(std::move(run)) {
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

void QtSpelling::follow() {
  if (box_.text() == shownText_ && marks_.revision() == shownRevision_) return;
  shownText_ = box_.text();
  shownRevision_ = marks_.revision();
  words_.clear();
  std::size_t byte = 0;
  int at = 0;
  for (const TextSpan& span : marks_.misspelt(shownText_)) {
    const std::string_view text(shownText_);
    at += widgetLength(text.substr(byte, span.start - byte));
    const int length = widgetLength(text.substr(span.start, span.length));
    words_.push_back({std::string(text.substr(span.start, span.length)), at, at + length});
    byte = span.start + span.length;
    at += length;
  }
  QList<QTextEdit::ExtraSelection> underlined;
  underlined.reserve(static_cast<qsizetype>(words_.size()));
  QTextCharFormat wavy;
  wavy.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
  wavy.setUnderlineColor(Qt::red);
  const int end = widget_.document()->characterCount() - 1;
  for (const Word& word : words_) {
    // Only a widget behind its box ends before a word: the next sync underlines again.
    if (word.to > end) {
      shownRevision_ = ~std::uint64_t{0};
      break;
    }
    QTextCursor cursor(widget_.document());
    cursor.setPosition(word.from);
    cursor.setPosition(word.to, QTextCursor::KeepAnchor);
    underlined.append({cursor, wavy});
  }
  widget_.setExtraSelections(underlined);
}

QMenu* QtSpelling::menuAt(const QPoint& at) {
  follow();
  const int position = widget_.cursorForPosition(at).position();
  for (const Word& word : words_) {
    if (position < word.from || position > word.to) continue;
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
