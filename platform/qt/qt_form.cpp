#include "platform/qt/qt_form.h"

#include <QAction>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_geometry.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_widgets.h"

namespace obrel {

namespace {

QPixmap picture(const std::string& name) { return QPixmap(QStringLiteral(":/pictures/") + qs(name)); }

}  // namespace

QtForm::QtForm(Form& form, QtFormHost& host)
    : form_(&form), host_(host), window_(std::make_unique<FormWindow>()) {
  FormWindow* w = window_.get();
  w->setObjectName(qs(form.name()));
  w->setWindowIcon(QIcon(QStringLiteral(":/pictures/obrel.ico")));
  Qt::WindowFlags flags = Qt::Window;
  if (form.border == Border::None) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
    if (form.minButton) flags |= Qt::WindowMinimizeButtonHint;
    if (form.maxButton) flags |= Qt::WindowMaximizeButtonHint;
  }
  w->setWindowFlags(flags);

  // The client area has the designed size; the window grows by the menu bar and no more.
  auto* layout = new QVBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  client_ = new QWidget(w);
  client_->setObjectName(QStringLiteral("client"));
  client_->setFixedSize(pixels(form.clientWidth), pixels(form.clientHeight));
  layout->addWidget(client_);
  if (!form.menus().empty()) {
    menuBar_ = new QMenuBar(w);
    menuBar_->setNativeMenuBar(false);
    layout->setMenuBar(menuBar_);
    buildMenu("", menuBar_);
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);

  bound_.reserve(form.controls().size());
  for (Control* c : form.controls()) {
    Bound b{c, nullptr, nullptr};
    if (c->kind() == ControlKind::Timer) {
      auto* timer = new QTimer(this);
      timer->setTimerType(Qt::PreciseTimer);
      auto* model = static_cast<Timer*>(c);
      connect(timer, &QTimer::timeout, this, [this, model, where = c->name() + "_Timer"] {
        if (!form_) return;
        host_.run(where.c_str(), [model] {
          if (model->enabled() && model->onTimer) model->onTimer();
        });
      });
      b.timer = timer;
    } else {
      b.widget = makeWidget(*c);
    }
    bound_.push_back(b);
  }
  // Containers may be defined after what they hold: parent everything once all exist.
  for (Bound& b : bound_) {
    if (!b.widget) continue;
    QWidget* parent = client_;
    if (!b.control->container.empty()) {
      if (const Bound* holder = find(b.control->container); holder && holder->widget) {
        parent = holder->widget;
      }
    }
    b.widget->setParent(parent);
    b.widget->setGeometry(pixelRect(b.control->place));
  }
  // controls() runs from the bottom of the stacking order to the top.
  for (Bound& b : bound_) {
    if (b.widget) b.widget->raise();
  }
  setTabOrder();

  w->closeClicked = [this] {
    if (form_) host_.closeRequested(*form_);
  };
  w->activated = [this] {
    if (form_) host_.activated(*form_);
  };
  sync();
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

QWidget* QtForm::makeWidget(Control& c) {
  QWidget* w = nullptr;
  const std::string click = c.name() + "_Click";
  auto clickHandler = [this, &c, click] {
    if (!form_) return;
    host_.run(click.c_str(), [&c] {
      if (c.onClick) c.onClick();
    });
  };
  switch (c.kind()) {
    case ControlKind::TextBox:
      w = makeTextWidget(static_cast<TextBox&>(c));
      break;
    case ControlKind::Button:
    case ControlKind::PictureButton: {
      auto* button = new QPushButton(client_);
      if (c.kind() == ControlKind::PictureButton && !c.picture.empty()) {
        const QPixmap pm = picture(c.picture);
        button->setIcon(QIcon(pm));
        button->setIconSize(iconSize(pm.size(), c.place));
      }
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, clickHandler);
      w = button;
      break;
    }
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::PictureBox: {
      auto* label = new ClickLabel(client_);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      if (c.kind() == ControlKind::Label) {
        label->setTextFormat(Qt::PlainText);
      } else if (!c.picture.empty()) {
        label->setPixmap(picture(c.picture));
      }
      if (c.onClick) {
        label->clicked = clickHandler;
        if (c.kind() != ControlKind::PictureBox) label->setCursor(Qt::PointingHandCursor);
      }
      w = label;
      break;
    }
    case ControlKind::Frame: {
      auto* frame = new QFrame(client_);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      w = frame;
      break;
    }
    case ControlKind::MediaPlayer:
      w = host_.createPlayerWidget(client_);
      break;
    case ControlKind::Timer:
      return nullptr;
  }
  w->setObjectName(qs(c.name()));
  if (!c.tooltip.empty()) w->setToolTip(qs(c.tooltip));
  if (!c.font.family.empty() || c.font.points > 0 || c.font.bold) w->setFont(qtFont(c.font));
  return w;
}

QWidget* QtForm::makeTextWidget(TextBox& box) {
  if (box.multiLine) {
    auto* plain = new PlainBox(client_);
    plain->setTabChangesFocus(true);
    plain->setReadOnly(box.readOnly);
    if (box.wrap) {
      plain->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
      plain->setLineWrapMode(QPlainTextEdit::NoWrap);
      plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    plain->hooks.key = [this, &box, plain](QKeyEvent& e) {
      return keyTyped(box, e, [plain](QKeyEvent& k) { plain->applyKey(k); });
    };
    plain->hooks.focusIn = [this, &box, plain](Qt::FocusReason r) { userFocused(box, plain, r); };
    connect(plain, &QPlainTextEdit::textChanged, this, [this, &box, plain] { userEdited(box, plain); });
    return plain;
  }
  auto* line = new LineBox(client_);
  // The model cuts at its own limit; an unlimited box takes what QLineEdit can hold.
  if (box.maxLength > 0) line->setMaxLength(box.maxLength);
  line->setReadOnly(box.readOnly);
  line->hooks.key = [this, &box, line](QKeyEvent& e) {
    return keyTyped(box, e, [line](QKeyEvent& k) { line->applyKey(k); });
  };
  line->hooks.focusIn = [this, &box, line](Qt::FocusReason r) { userFocused(box, line, r); };
  // textChanged and not textEdited: undo, drag and drop and the context menu's paste are
  // user edits too; the view's own pushes are told apart by syncing_.
  connect(line, &QLineEdit::textChanged, this, [this, &box, line] { userEdited(box, line); });
  return line;
}

void QtForm::buildMenu(const std::string& parent, QWidget* into) {
  const std::vector<MenuItem*>& items = form_->menus();
  for (MenuItem* item : items) {
    if (item->parent() != parent) continue;
    const bool hasChildren = std::any_of(items.begin(), items.end(), [item](const MenuItem* m) {
      return m->parent() == item->name();
    });
    QAction* action = nullptr;
    if (hasChildren) {
      auto* menu = new QMenu(plainCaption(item->caption()), into);
      menu->setObjectName(qs(item->name()));
      buildMenu(item->name(), menu);
      action = menu->menuAction();
    } else {
      action = new QAction(plainCaption(item->caption()), into);
      if (!item->shortcut.empty()) {
        action->setShortcut(QKeySequence::fromString(qs(item->shortcut)));
        // The key works anywhere in the window, not only while the menu is open.
        action->setShortcutContext(Qt::WindowShortcut);
        window_->addAction(action);
      }
      const std::size_t index = menus_.size();
      connect(action, &QAction::triggered, this, [this, index] { menuTriggered(menus_[index]); });
    }
    action->setObjectName(qs(item->name()));
    into->addAction(action);
    menus_.push_back({item, action});
  }
}

void QtForm::setTabOrder() {
  std::vector<QWidget*> chain;
  for (const std::string& name : form_->tabOrder()) {
    QWidget* w = widget(name);
    if (!w) continue;
    while (w->focusProxy()) w = w->focusProxy();
    if ((w->focusPolicy() & Qt::TabFocus) == 0) continue;
    chain.push_back(w);
  }
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void QtForm::sync() {
  if (!form_) return;
  syncing_ = true;
  for (Bound& b : bound_) {
    if (b.control->revision() == b.revision) continue;
    b.revision = b.control->revision();
    push(b);
  }
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
  Control& c = *b.control;
  if (b.timer) {
    const auto& timer = static_cast<const Timer&>(c);
    if (timer.enabled() && timer.intervalMs > 0) {
      if (!b.timer->isActive() || b.timer->interval() != timer.intervalMs) b.timer->start(timer.intervalMs);
    } else {
      b.timer->stop();
    }
    return;
  }
  QWidget* w = b.widget;
  switch (c.kind()) {
    case ControlKind::TextBox:
      pushText(static_cast<TextBox&>(c), w);
      break;
    case ControlKind::Button: {
      auto* button = static_cast<QPushButton*>(w);
      const QString caption = plainCaption(c.caption());
      if (button->text() != caption) button->setText(caption);
      break;
    }
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(w);
      const QString caption = qs(c.caption());
      if (label->text() != caption) label->setText(caption);
      break;
    }
    default:
      break;
  }
  // The player's controls follow the player service (MediaPlayer::setEnabled).
  if (c.kind() != ControlKind::MediaPlayer) w->setEnabled(c.enabled());
  w->setVisible(c.visible());
  const int height = pixels(c.height());
  if (w->height() != height) w->resize(w->width(), height);
}

void QtForm::pushText(TextBox& box, QWidget* w) {
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

void QtForm::pushMenu(BoundMenu& m) {
  m.revision = m.item->revision();
  m.action->setEnabled(m.item->enabled());
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
  host_.run(where.c_str(), [&box, &text] { box.setText(text); });
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
  if (!form_ || !box.onKeyPress) return false;
  const int code = characterCode(event);
  if (code == 0) return false;
  int kept = 0;
  const std::string where = box.name() + "_KeyPress";
  // The handler may drop the key or move the focus; the sync inside run() moves the
  // widget focus, and the key kept still lands in this box below, applied by the widget.
  host_.run(where.c_str(), [&box, code, &kept] { typeKey(box, code, [&kept](int k) { kept = k; }); });
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

void QtForm::menuTriggered(BoundMenu& m) {
  if (!form_) return;
  MenuItem* item = m.item;
  const std::string where = item->name() + "_Click";
  host_.run(where.c_str(), [item] {
    if (item->onClick) item->onClick();
  });
  // Qt toggles a checkable action by itself; the model alone decides the mark.
  if (form_) pushMenu(m);
}

void QtForm::detach() {
  form_ = nullptr;
  for (Bound& b : bound_) {
    if (b.timer) b.timer->stop();
  }
}

}  // namespace obrel
