// What the user does in the window, handed to the model through the host's run().
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>

#include "platform/qt/qt_form.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_widgets.h"

namespace obrel {

void QtForm::userClicked(Control& c) {
  if (!form_) return;
  const std::string where = c.name() + "_Click";
  Form* form = form_;
  // The click may close this window, and a question it asks may run a loop that deletes it.
  const QPointer<QtForm> alive(this);
  host_.run(where.c_str(), [form, &c] { form->click(c); });
  // A check box or option button marks itself when clicked; the model alone decides.
  if (alive && form_ && hasMark(c)) pushMark(c, widget(c.name()));
}

void QtForm::timerFired(Timer& timer) {
  if (!form_) return;
  const std::string where = timer.name() + "_Timer";
  host_.run(where.c_str(), [&timer] {
    if (timer.enabled() && timer.onTimer) timer.onTimer();
  });
}

void QtForm::userEdited(TextBox& box, QWidget* w) {
  if (!form_ || syncing_) return;
  std::string text;
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    text = line->text().toStdString();
  } else {
    text = fromWidgetText(static_cast<QPlainTextEdit*>(w)->toPlainText());
  }
  if (text == box.text()) return;
  const std::string where = box.name() + "_Change";
  const QPointer<QtForm> alive(this);
  host_.run(where.c_str(), [&box, &text] { box.setText(text); });
  // The caret the widget left, which the set text put at the end in the model.
  if (alive && form_) userMovedCaret(box, w);
}

void QtForm::userMovedCaret(TextBox& box, QWidget* w) {
  if (!form_ || syncing_) return;
  QString text;
  int anchor = 0;
  int caret = 0;
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    text = line->text();
    caret = line->cursorPosition();
    anchor = line->hasSelectedText()
                 ? (line->selectionStart() == caret ? line->selectionEnd() : line->selectionStart())
                 : caret;
  } else {
    const QTextCursor cursor = static_cast<QPlainTextEdit*>(w)->textCursor();
    text = static_cast<QPlainTextEdit*>(w)->toPlainText();
    anchor = cursor.anchor();
    caret = cursor.position();
  }
  // A change not handed over yet: its own call follows.
  if (fromWidgetText(text) != box.text()) return;
  box.userSelected(modelPosition(text, anchor), modelPosition(text, caret));
}

void QtForm::userFocused(TextBox& box, QWidget* w, Qt::FocusReason reason) {
  if (!form_) return;
  // Tabbing into a box puts the caret at the end, as the model does; a click has placed
  // it already, and a window that comes back keeps it where it was.
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
      reason == Qt::ShortcutFocusReason) {
    caretToEnd(w);
  }
  if (syncing_ || form_->focus() == &box) return;
  Form* form = form_;
  host_.run("focus", [form, &box] { form->setFocus(&box); });
}

bool QtForm::keyTyped(TextBox& box, QKeyEvent& event,
                      const std::function<void(QKeyEvent&)>& apply) {
  // Undo and redo of typing belong to the box: its key rule never sees them.
  if (event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo)) return false;
  if (!form_) return false;
  const int code = characterCode(event);
  if (code == 0 || (!box.onKeyPress && !form_->keyButton(code, &box))) return false;
  int kept = 0;
  const std::string where = box.name() + "_KeyPress";
  // The handler may drop the key or move the focus; the sync inside run() moves the
  // widget focus, and the key kept still lands in this box below, applied by the widget.
  // Enter and Escape may press a button instead, and then are not typed.
  Form* form = form_;
  host_.run(where.c_str(),
            [form, &box, code, &kept] { form->typeInto(box, code, [&kept](int k) { kept = k; }); });
  if (!form_) return true;  // the window closed under the key
  if (kept == code) return false;
  event.accept();
  // The handler dropped the key, or typed another character in place of this one.
  if (kept == 0) return true;
  if (const std::optional<TypedKey> typed = typedKey(kept)) {
    QKeyEvent replaced(QEvent::KeyPress, typed->key, Qt::NoModifier, typed->text);
    apply(replaced);
  }
  return true;
}

bool QtForm::windowKey(QKeyEvent& event) {
  if (!form_) return false;
  Control* button = form_->keyButton(characterCode(event), nullptr);
  if (!button) return false;
  event.accept();
  userClicked(*button);
  return true;
}

void QtForm::menuTriggered(BoundMenu& m) {
  if (!form_) return;
  runMenuItem(*m.item);
  // Qt toggles a checkable action by itself; the model alone decides the mark.
  if (form_) pushMenu(m);
}

void QtForm::runMenuItem(MenuItem& item) {
  if (!form_) return;
  const std::string where = item.name() + "_Click";
  host_.run(where.c_str(), [&item] {
    if (item.enabled() && item.onClick) item.onClick();
  });
}

void QtForm::userPicked(Table& table, int row) {
  if (!form_) return;
  const std::string where = table.name() + "_Pick";
  host_.run(where.c_str(), [&table, row] {
    if (table.onPick) table.onPick(row);
  });
}

}  // namespace obrel
