// The model's changes since the last sync, pushed into the widgets.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

#include "platform/qt/qt_form.h"
#include "platform/qt/qt_geometry.h"
#include "platform/qt/qt_spelling.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_widgets.h"

namespace obrel {

void QtForm::sync() {
  if (!form_) return;
  syncing_ = true;
  for (Bound& b : bound_) {
    if (b.control->revision() == b.revision) continue;
    b.revision = b.control->revision();
    push(b);
  }
  for (QtSpelling* s : spelling_) s->follow();
  for (BoundMenu& m : menus_) {
    if (m.item->revision() == m.revision) continue;
    pushMenu(m);
  }
  if (form_->captionRevision != captionRevision_) {
    captionRevision_ = form_->captionRevision;
    window_->setWindowTitle(qs(form_->caption()));
  }
  pushFocus();
  syncing_ = false;
}

void QtForm::push(Bound& b) {
  if (b.timer) {
    pushTimer(b);
    return;
  }
  Control& c = *b.control;
  QWidget* w = b.widget;
  switch (c.kind()) {
    case ControlKind::TextBox: pushText(static_cast<TextBox&>(c), w); break;
    case ControlKind::ComboBox:
      pushItems(b);
      pushText(static_cast<TextBox&>(c), w);
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: pushMark(c, w); break;
    case ControlKind::Button: {
      auto* button = static_cast<QPushButton*>(w);
      const QString caption = plainCaption(c.caption());
      if (button->text() != caption) button->setText(caption);
      break;
    }
    case ControlKind::Table: pushTable(static_cast<const Table&>(c), w); break;
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(w);
      const QString caption = qs(c.caption());
      if (label->text() != caption) label->setText(caption);
      break;
    }
    default: break;
  }
  if (const TextBox* box = asTextBox(&c); box && box->selectionRevision() != b.selectionRevision) {
    b.selectionRevision = box->selectionRevision();
    pushSelection(*box, w);
  }
  // The player's controls follow the player service (MediaPlayer::setEnabled).
  if (c.kind() != ControlKind::MediaPlayer) w->setEnabled(c.enabled());
  w->setVisible(c.visible());
  // A covered box is out of the tab chain and takes no click; uncovered, it takes the focus
  // as its kind of widget does.
  if (asTextBox(&c)) {
    const char* const kOwnPolicy = "obrelFocusPolicy";
    if (!w->property(kOwnPolicy).isValid())
      w->setProperty(kOwnPolicy, static_cast<int>(w->focusPolicy()));
    const auto policy =
        c.covered() ? Qt::NoFocus : static_cast<Qt::FocusPolicy>(w->property(kOwnPolicy).toInt());
    if (w->focusPolicy() != policy) w->setFocusPolicy(policy);
  }
  const int height = pixels(c.height());
  if (w->height() != height) w->resize(w->width(), height);
}

void QtForm::pushTimer(Bound& b) {
  const auto& timer = static_cast<const Timer&>(*b.control);
  if (timer.enabled() && timer.intervalMs > 0) {
    if (!b.timer->isActive() || b.timer->interval() != timer.intervalMs)
      b.timer->start(timer.intervalMs);
  } else {
    b.timer->stop();
  }
}

void QtForm::pushText(TextBox& box, QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    const QString text = qs(box.text());
    if (line->text() != text) line->setText(text);
    return;
  }
  auto* plain = static_cast<QPlainTextEdit*>(w);
  const QString text = toWidgetText(box.text());
  // setPlainText is costly and resets the caret and the undo history: only when needed.
  if (plain->toPlainText() == text) return;
  plain->setPlainText(text);
  // The caret goes to the end of a set text; a box without the focus keeps its view at
  // the top, so a long text shows from its beginning.
  if (plain->hasFocus()) caretToEnd(plain);
}

void QtForm::pushSelection(const TextBox& box, QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
  const std::size_t start = box.selectionStart();
  const std::size_t end = start + box.selectionLength();
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    const QString text = line->text();
    const int from = widgetPosition(text, start);
    line->setSelection(from, widgetPosition(text, end) - from);
    return;
  }
  auto* plain = static_cast<QPlainTextEdit*>(w);
  const QString text = plain->toPlainText();
  QTextCursor cursor = plain->textCursor();
  cursor.setPosition(widgetPosition(text, start));
  cursor.setPosition(widgetPosition(text, end), QTextCursor::KeepAnchor);
  // Scrolled into view, with or without the focus.
  plain->setTextCursor(cursor);
}

void QtForm::pushItems(Bound& b) {
  const auto& box = static_cast<const ComboBox&>(*b.control);
  if (box.itemsRevision() == b.itemsRevision) return;
  b.itemsRevision = box.itemsRevision();
  auto* combo = static_cast<QComboBox*>(b.widget);
  // The list changes the shown text; pushText sets the model's again.
  combo->clear();
  for (const std::string& item : box.items()) combo->addItem(qs(item));
  combo->setCurrentIndex(-1);
}

void QtForm::pushMark(const Control& c, QWidget* w) {
  auto* button = static_cast<QAbstractButton*>(w);
  const QString caption = plainCaption(c.caption());
  if (button->text() != caption) button->setText(caption);
  if (button->isChecked() != markOf(c)) button->setChecked(markOf(c));
}

void QtForm::pushTable(const Table& table, QWidget* w) {
  auto* view = static_cast<QTableView*>(w);
  static_cast<TableModel*>(view->model())->follow();
  const int row = table.selected();
  const QModelIndex shown = view->selectionModel()->currentIndex();
  const bool selected = view->selectionModel()->hasSelection();
  if (row < 0) {
    if (selected) view->clearSelection();
    return;
  }
  if (selected && shown.row() == row) return;
  view->selectRow(row);
  view->scrollTo(view->model()->index(row, 0));
}

void QtForm::pushMenu(BoundMenu& m) {
  m.revision = m.item->revision();
  m.action->setEnabled(m.item->enabled());
  const QString caption = plainCaption(m.item->caption());
  if (m.action->text() != caption) m.action->setText(caption);
  if (m.action->menu()) return;
  // Only a checked item is checkable, so unchecked items show no empty check box.
  m.action->setCheckable(m.item->checked());
  m.action->setChecked(m.item->checked());
}

void QtForm::pushFocus() {
  if (form_->focusRevision() == focusRevision_) return;
  focusRevision_ = form_->focusRevision();
  TextBox* box = form_->focus();
  if (!box) return;
  QWidget* w = widget(box->name());
  if (!w || !w->isEnabled()) return;
  if (window_->focusWidget() == w && (w->hasFocus() || !window_->isActiveWindow())) return;
  // A box that gets the focus from the program has its caret at the end.
  w->setFocus(Qt::OtherFocusReason);
  caretToEnd(w);
}

}  // namespace obrel
