#include "platform/qt/qt_prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/qt_geometry.h"
#include "platform/qt/qt_text.h"

namespace obrel {

namespace {

QString caption(const std::string& title) {
  return title.empty() ? QApplication::applicationName() : QString::fromStdString(title);
}

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QWidget* QtPrompts::dialogOwner() const { return owner ? owner() : QApplication::activeWindow(); }

Answer QtPrompts::messageBox(const std::string& text, const std::string& title, Icon icon,
                             Buttons buttons) {
  if (beforeShow) beforeShow();
  QMessageBox box(dialogOwner());
  box.setWindowTitle(caption(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(toWidgetText(text));
  box.setIcon(qtIcon(icon));
  QAbstractButton* ok = nullptr;
  QAbstractButton* yes = nullptr;
  QAbstractButton* no = nullptr;
  QAbstractButton* cancel = nullptr;
  // The first button is the default one; Escape and the close box answer like a dialog
  // closed without a button.
  switch (buttons) {
    case Buttons::OK:
      ok = box.addButton(QMessageBox::Ok);
      box.setDefaultButton(static_cast<QPushButton*>(ok));
      box.setEscapeButton(ok);
      break;
    case Buttons::YesNo:
      yes = box.addButton(QMessageBox::Yes);
      no = box.addButton(QMessageBox::No);
      box.setDefaultButton(static_cast<QPushButton*>(yes));
      box.setEscapeButton(no);
      break;
    case Buttons::YesNoCancel:
      yes = box.addButton(QMessageBox::Yes);
      no = box.addButton(QMessageBox::No);
      cancel = box.addButton(QMessageBox::Cancel);
      box.setDefaultButton(static_cast<QPushButton*>(yes));
      box.setEscapeButton(cancel);
      break;
  }
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked && clicked == yes) return Answer::Yes;
  if (clicked && clicked == no) return Answer::No;
  if (clicked && clicked == ok) return Answer::OK;
  if (clicked && clicked == cancel) return Answer::Cancel;
  switch (buttons) {
    case Buttons::OK: return Answer::OK;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: break;
  }
  return Answer::Cancel;
}

std::optional<std::string> QtPrompts::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText, int left, int top) {
  if (beforeShow) beforeShow();
  QWidget* owner = dialogOwner();
  QInputDialog dialog(owner);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption(title));
  dialog.setLabelText(toWidgetText(prompt));
  dialog.setTextValue(QString::fromStdString(defaultText));
  // The position is from the screen's corner; moving before exec() keeps Qt from
  // centring the dialog over its owner.
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  const QPoint corner = screen ? screen->geometry().topLeft() : QPoint();
  dialog.move(corner + QPoint(pixels(left), pixels(top)));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

}  // namespace obrel
