#include "platform/qt/qt_form.h"

#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <QWindow>

#include "platform/qt/qt_spelling.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_widgets.h"

namespace obrel {

QtForm::QtForm(Form& form, QtFormHost& host)
    : form_(&form), host_(host), window_(std::make_unique<FormWindow>()) {
  buildWindow();
  bindControls();
  placeWidgets();
  nameWidgets();
  setTabOrder();
  acceptFileDrops();
  window_->closeClicked = [this] {
    if (form_) host_.closeRequested(*form_);
  };
  window_->activated = [this] {
    if (form_) host_.activated(*form_);
  };
  window_->unhandledKey = [this](QKeyEvent& event) { return windowKey(event); };
  sync();
}

void QtForm::belongTo(QWidget* owner, bool tool) {
  if (tool) window_->setWindowFlags((window_->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  // The owner stays a window of its own, so that neither view's lifetime is tied to the
  // other's: only the native windows are linked.
  window_->winId();
  owner->winId();
  window_->windowHandle()->setTransientParent(owner->windowHandle());
}

QtForm::~QtForm() = default;

QWidget* QtForm::window() const { return window_.get(); }

QWidget* QtForm::widget(const std::string& name) const {
  const Bound* b = find(name);
  return b ? b->widget : nullptr;
}

QAction* QtForm::action(const std::string& name) const {
  for (const BoundMenu& m : menus_) {
    if (m.item->name() == name) return m.action;
  }
  return nullptr;
}

QtForm::Bound* QtForm::find(const std::string& name) {
  for (Bound& b : bound_) {
    if (b.control->name() == name) return &b;
  }
  return nullptr;
}

const QtForm::Bound* QtForm::find(const std::string& name) const {
  for (const Bound& b : bound_) {
    if (b.control->name() == name) return &b;
  }
  return nullptr;
}

void QtForm::checkSpelling(const std::string& name, SpellingMarks& marks) {
  auto* plain = qobject_cast<QPlainTextEdit*>(widget(name));
  if (!plain) return;
  spelling_.push_back(new QtSpelling(
      *plain, marks,
      [this](const char* where, const std::function<void()>& call) { host_.run(where, call); }));
}

void QtForm::detach() {
  form_ = nullptr;
  // They read the window's model.
  for (QtSpelling* s : spelling_) delete s;
  spelling_.clear();
  for (Bound& b : bound_) {
    if (b.timer) b.timer->stop();
    if (auto* table = qobject_cast<QTableView*>(b.widget)) {
      static_cast<TableModel*>(table->model())->detach();
    }
  }
}

}  // namespace obrel
