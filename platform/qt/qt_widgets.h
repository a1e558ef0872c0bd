#pragma once
// The widget kinds a window view is made of, each handing what the user does to the view.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

class QCloseEvent;
class QMouseEvent;

namespace obrel {

// What a text widget hands to its view: its typed keys (true when dealt with) and the
// moments it gains the focus.
struct BoxHooks {
  std::function<bool(QKeyEvent&)> key;
  std::function<void(Qt::FocusReason)> focusIn;
};

// A one-line or multi-line text widget with its hooks.
template <class Edit>
class HookedBox : public Edit {
 public:
  using Edit::Edit;
  BoxHooks hooks;
  // Applies a key as the widget itself would.
  void applyKey(QKeyEvent& event) { Edit::keyPressEvent(&event); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (hooks.key && hooks.key(*event)) return;
    Edit::keyPressEvent(event);
  }
  void focusInEvent(QFocusEvent* event) override {
    Edit::focusInEvent(event);
    if (hooks.focusIn) hooks.focusIn(event->reason());
  }
};
using LineBox = HookedBox<QLineEdit>;
using PlainBox = HookedBox<QPlainTextEdit>;

// A label, image or picture box; reports a click (press and release inside) when it has
// a click handler, and otherwise lets mouse events pass to its container.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// The top-level window: its close box, its activation and the keys no widget in it took go
// to the model.
class FormWindow : public QWidget {
 public:
  std::function<void()> closeClicked;
  std::function<void()> activated;
  // True when the key was dealt with.
  std::function<bool(QKeyEvent&)> unhandledKey;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// Puts the caret of a text widget (or of a combo box's text) after its text.
void caretToEnd(QWidget* widget);

}  // namespace obrel
