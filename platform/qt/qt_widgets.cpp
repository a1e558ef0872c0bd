#include "platform/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMouseEvent>

namespace obrel {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  if (clicked && event->button() == Qt::LeftButton) {
    pressed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (wasPressed && clicked && event->button() == Qt::LeftButton &&
      rect().contains(event->position().toPoint())) {
    clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The model decides whether and when the window closes.
  event->ignore();
  if (closeClicked) closeClicked();
}

void FormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && activated) activated();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (unhandledKey && unhandledKey(*event)) return;
  QWidget::keyPressEvent(event);
}

void caretToEnd(QWidget* widget) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) widget = combo->lineEdit();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->deselect();
    line->end(false);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    // A text that is only read is read from its beginning; the caret there types nothing.
    if (!plain->isReadOnly()) plain->moveCursor(QTextCursor::End);
  }
}

}  // namespace obrel
