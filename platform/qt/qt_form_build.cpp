// The window, its widgets and its menus, built once from the model.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_geometry.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_widgets.h"

namespace obrel {

namespace {

QPixmap picture(const std::string& name) {
  return QPixmap(QStringLiteral(":/pictures/") + qs(name));
}

Qt::WindowFlags windowFlags(const Form& form) {
  if (form.border == Border::None) return Qt::Window | Qt::FramelessWindowHint;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (form.minButton) flags |= Qt::WindowMinimizeButtonHint;
  if (form.maxButton) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

// A control without a font of its own shows in the window's.
bool hasOwnFont(const Font& font) { return !font.family.empty() || font.points > 0 || font.bold; }

}  // namespace

void QtForm::buildWindow() {
  FormWindow* w = window_.get();
  w->setObjectName(qs(form_->name()));
  w->setWindowIcon(QIcon(QStringLiteral(":/pictures/obrel.ico")));
  w->setWindowFlags(windowFlags(*form_));
  // Shown without waiting: the model's handlers go on, and the window keeps the others
  // (those its owner holds) from the user until it closes.
  if (form_->modal) w->setWindowModality(Qt::WindowModal);
  // The client area has the designed size; the window grows by the menu bar and no more.
  auto* layout = new QVBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  client_ = new QWidget(w);
  client_->setObjectName(QStringLiteral("client"));
  client_->setFixedSize(pixels(form_->clientWidth), pixels(form_->clientHeight));
  layout->addWidget(client_);
  if (!form_->menus().empty()) {
    menuBar_ = new QMenuBar(w);
    menuBar_->setNativeMenuBar(false);
    layout->setMenuBar(menuBar_);
    buildMenu("", menuBar_);
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
  borrowShortcuts();
}

void QtForm::borrowShortcuts() {
  for (const BorrowedShortcut& borrowed : form_->borrowedShortcuts) {
    auto* action = new QAction(window_.get());
    action->setShortcut(QKeySequence::fromString(qs(borrowed.keys)));
    action->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(action);
    MenuItem* item = borrowed.item;
    connect(action, &QAction::triggered, this, [this, item] { runMenuItem(*item); });
  }
}

void QtForm::bindControls() {
  bound_.reserve(form_->controls().size());
  for (Control* c : form_->controls()) {
    if (c->kind() == ControlKind::Timer) {
      bound_.push_back({c, nullptr, makeTimer(static_cast<Timer&>(*c))});
    } else {
      bound_.push_back({c, makeWidget(*c), nullptr});
    }
  }
  // Shown as the default button; Enter reaches it through windowKey and keyTyped.
  if (form_->defaultButton) {
    if (auto* button = qobject_cast<QPushButton*>(widget(form_->defaultButton->name())))
      button->setDefault(true);
  }
}

QTimer* QtForm::makeTimer(Timer& model) {
  auto* timer = new QTimer(this);
  timer->setTimerType(Qt::PreciseTimer);
  connect(timer, &QTimer::timeout, this, [this, &model] { timerFired(model); });
  return timer;
}

QWidget* QtForm::makeWidget(Control& c) {
  QWidget* w = nullptr;
  switch (c.kind()) {
    case ControlKind::TextBox: {
      auto& box = static_cast<TextBox&>(c);
      w = box.multiLine ? makePlainBox(box) : makeLineBox(box);
      break;
    }
    case ControlKind::Button:
    case ControlKind::PictureButton: w = makeButton(c); break;
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::PictureBox: w = makeLabel(c); break;
    case ControlKind::Frame: {
      auto* frame = new QFrame(client_);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      w = frame;
      break;
    }
    case ControlKind::MediaPlayer: w = host_.createPlayerWidget(client_); break;
    case ControlKind::Table: w = makeTable(static_cast<Table&>(c)); break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: w = makeMarked(c); break;
    case ControlKind::ComboBox: w = makeCombo(static_cast<ComboBox&>(c)); break;
    case ControlKind::Timer: return nullptr;
  }
  w->setObjectName(qs(c.name()));
  if (!c.tooltip.empty()) w->setToolTip(qs(c.tooltip));
  if (hasOwnFont(c.font)) w->setFont(qtFont(c.font));
  return w;
}

QWidget* QtForm::makeButton(Control& c) {
  auto* button = new QPushButton(client_);
  if (c.kind() == ControlKind::PictureButton && !c.picture.empty()) {
    const QPixmap pm = picture(c.picture);
    button->setIcon(QIcon(pm));
    button->setIconSize(iconSize(pm.size(), c.place));
  }
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, &c] { userClicked(c); });
  return button;
}

QWidget* QtForm::makeMarked(Control& c) {
  QAbstractButton* button = nullptr;
  if (c.kind() == ControlKind::CheckBox) {
    button = new QCheckBox(client_);
  } else {
    auto* option = new QRadioButton(client_);
    // The model clears the others of the group; a click on a selected one keeps it.
    option->setAutoExclusive(false);
    button = option;
  }
  connect(button, &QAbstractButton::clicked, this, [this, &c] { userClicked(c); });
  return button;
}

QWidget* QtForm::makeCombo(ComboBox& box) {
  auto* combo = new QComboBox(client_);
  combo->setEditable(true);
  // The list is the model's: Enter adds nothing to it.
  combo->setInsertPolicy(QComboBox::NoInsert);
  auto* line = new LineBox(combo);
  if (box.maxLength > 0) line->setMaxLength(box.maxLength);
  combo->setLineEdit(line);
  // Completion would type for the user, past the box's key handler.
  combo->setCompleter(nullptr);
  line->setReadOnly(box.readOnly);
  line->hooks = hooksFor(box, line, [line](QKeyEvent& k) { line->applyKey(k); });
  connect(line, &QLineEdit::textChanged, this, [this, &box, line] { userEdited(box, line); });
  followCaret(box, line);
  return combo;
}

QWidget* QtForm::makeLabel(Control& c) {
  auto* label = new ClickLabel(client_);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (c.kind() == ControlKind::Label) {
    label->setTextFormat(Qt::PlainText);
  } else if (!c.picture.empty()) {
    label->setPixmap(picture(c.picture));
  }
  if (c.onClick) {
    label->clicked = [this, &c] { userClicked(c); };
    if (c.kind() != ControlKind::PictureBox) label->setCursor(Qt::PointingHandCursor);
  }
  return label;
}

QWidget* QtForm::makePlainBox(TextBox& box) {
  auto* plain = new PlainBox(client_);
  plain->setTabChangesFocus(true);
  plain->setReadOnly(box.readOnly);
  plain->setLineWrapMode(box.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  plain->setHorizontalScrollBarPolicy(box.wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  plain->hooks = hooksFor(box, plain, [plain](QKeyEvent& k) { plain->applyKey(k); });
  connect(plain, &QPlainTextEdit::textChanged, this,
          [this, &box, plain] { userEdited(box, plain); });
  connect(plain, &QPlainTextEdit::cursorPositionChanged, this,
          [this, &box, plain] { userMovedCaret(box, plain); });
  connect(plain, &QPlainTextEdit::selectionChanged, this,
          [this, &box, plain] { userMovedCaret(box, plain); });
  return plain;
}

void QtForm::followCaret(TextBox& box, QLineEdit* line) {
  connect(line, &QLineEdit::cursorPositionChanged, this,
          [this, &box, line] { userMovedCaret(box, line); });
  connect(line, &QLineEdit::selectionChanged, this,
          [this, &box, line] { userMovedCaret(box, line); });
}

QWidget* QtForm::makeLineBox(TextBox& box) {
  auto* line = new LineBox(client_);
  // The model cuts at its own limit; an unlimited box takes what QLineEdit can hold.
  if (box.maxLength > 0) line->setMaxLength(box.maxLength);
  line->setReadOnly(box.readOnly);
  line->hooks = hooksFor(box, line, [line](QKeyEvent& k) { line->applyKey(k); });
  // textChanged and not textEdited: undo, drag and drop and the context menu's paste are
  // user edits too; the view's own pushes are told apart by syncing_.
  connect(line, &QLineEdit::textChanged, this, [this, &box, line] { userEdited(box, line); });
  followCaret(box, line);
  return line;
}

QWidget* QtForm::makeTable(Table& table) {
  auto* view = new TableView(client_);
  view->setModel(new TableModel(table, view));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setWordWrap(false);
  view->setTabKeyNavigation(false);
  // Rows of one fixed height and columns of fixed widths: nothing is measured from the
  // rows' content, so a table of thousands of rows opens and changes at once.
  QHeaderView* rows = view->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(pixels(table.rowHeight));
  QHeaderView* columns = view->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(true);
  for (std::size_t i = 0; i < table.columnWidths.size(); ++i) {
    view->setColumnWidth(static_cast<int>(i), pixels(table.columnWidths[i]));
  }
  view->picked = [this, &table](int row) { userPicked(table, row); };
  return view;
}

BoxHooks QtForm::hooksFor(TextBox& box, QWidget* widget, std::function<void(QKeyEvent&)> apply) {
  return {[this, &box, apply = std::move(apply)](QKeyEvent& e) { return keyTyped(box, e, apply); },
          [this, &box, widget](Qt::FocusReason r) { userFocused(box, widget, r); }};
}

void QtForm::placeWidgets() {
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
    if (auto* menu = qobject_cast<QMenu*>(into); menu && item->separatorAfter) menu->addSeparator();
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

}  // namespace obrel
