#pragma once
// A Qt window built from a window model (obrel::Form): one widget per control, placed from
// its twips, the menu bar, the tab order, and the binding both ways. Model changes reach the
// widgets only through sync(), which runs after each handler; user actions reach the model
// only through the host's run(), which guards the call and syncs every window afterwards.
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

class QAction;
class QPoint;
class QKeyEvent;
class QLineEdit;
class QMenuBar;
class QTimer;
class QWidget;

namespace obrel {

class FormWindow;
class QtSpelling;
class SpellingMarks;
struct BoxHooks;

// What a window view needs from the program that owns it.
class QtFormHost {
 public:
  virtual ~QtFormHost() = default;
  // Every call from Qt into the model: guarded, then closed windows are dropped and all
  // open windows are synced.
  virtual void run(const char* where, const std::function<void()>& call) = 0;
  // The media player's widget, created inside parent; it follows the player service.
  virtual QWidget* createPlayerWidget(QWidget* parent) = 0;
  // The user clicked the window's close box / made the window active.
  virtual void closeRequested(Form& form) = 0;
  virtual void activated(Form& form) = 0;
};

class QtForm : public QObject {
 public:
  QtForm(Form& form, QtFormHost& host);
  ~QtForm() override;
  QtForm(const QtForm&) = delete;
  QtForm& operator=(const QtForm&) = delete;

  // The model; nullptr once detached.
  Form* form() const { return form_; }
  QWidget* window() const;
  // The client area below the menu bar.
  QWidget* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  // The widget of a control / the action of a menu item; nullptr when there is none.
  QWidget* widget(const std::string& name) const;
  QAction* action(const std::string& name) const;

  // Makes the window belong to owner's window (kept above it, blocked with it by a modal
  // window of the program): a tool window (no task bar entry, a thin frame) when tool. Call
  // before it first shows.
  void belongTo(QWidget* owner, bool tool);

  // The multi-line box name underlines the words marks finds misspelt and offers their
  // corrections on a right-click (qt_spelling.cpp). Call once the window is built.
  void checkSpelling(const std::string& name, SpellingMarks& marks);

  // Pushes what changed in the model since the last sync into the widgets.
  void sync();
  // The model window closed: stop the timers and never touch the model again; the owner
  // hides the window.
  void detach();

 private:
  struct Bound {
    Control* control;
    QWidget* widget;  // nullptr for a timer
    QTimer* timer;    // only for a timer
    std::uint64_t revision = 0;
    std::uint64_t itemsRevision = 0;      // combo boxes
    std::uint64_t selectionRevision = 0;  // text and combo boxes
  };
  struct BoundMenu {
    MenuItem* item;
    QAction* action;
    std::uint64_t revision = 0;
  };

  // The widgets built from the model (qt_form_build.cpp).
  void buildWindow();
  void bindControls();
  QTimer* makeTimer(Timer& timer);
  QWidget* makeWidget(Control& control);
  QWidget* makeButton(Control& control);
  QWidget* makeMarked(Control& control);
  QWidget* makeCombo(ComboBox& box);
  QWidget* makeLabel(Control& control);
  QWidget* makeLineBox(TextBox& box);
  QWidget* makePlainBox(TextBox& box);
  // The model's caret and selection follow the one-line widget's.
  void followCaret(TextBox& box, QLineEdit* line);
  QWidget* makeTable(Table& table);
  // Actions for the keys the window borrows from another window's menu.
  void borrowShortcuts();
  BoxHooks hooksFor(TextBox& box, QWidget* widget, std::function<void(QKeyEvent&)> apply);
  void placeWidgets();
  void buildMenu(const std::string& parent, QWidget* into);
  void setTabOrder();
  // Accessible names and buddies (qt_form_names.cpp).
  void nameWidgets();

  // The model's changes pushed into the widgets (qt_form_sync.cpp).
  void push(Bound& b);
  void pushTimer(Bound& b);
  void pushText(TextBox& box, QWidget* widget);
  void pushSelection(const TextBox& box, QWidget* widget);
  void pushItems(Bound& b);
  void pushMark(const Control& control, QWidget* widget);
  void pushTable(const Table& table, QWidget* widget);
  void pushMenu(BoundMenu& m);
  void pushFocus();

  // What the user does, handed to the model through the host (qt_form_input.cpp).
  void userClicked(Control& control);
  void timerFired(Timer& timer);
  void userEdited(TextBox& box, QWidget* widget);
  void userFocused(TextBox& box, QWidget* widget, Qt::FocusReason reason);
  // The caret or selection moved in the widget: the model follows, running no handler.
  void userMovedCaret(TextBox& box, QWidget* widget);
  // A key typed into a box: its key handler, if any, sees it first. True when the key was
  // dealt with here (dropped, or replaced and applied through apply), false when the
  // widget should apply it unchanged.
  bool keyTyped(TextBox& box, QKeyEvent& event, const std::function<void(QKeyEvent&)>& apply);
  // Enter or Escape that no widget took: the window's default or cancel button, if it has one.
  bool windowKey(QKeyEvent& event);
  void menuTriggered(BoundMenu& m);
  void userPicked(Table& table, int row);
  // An item's handler from the window's menu or borrowed keys; a disabled item does nothing.
  void runMenuItem(MenuItem& item);

  // Files dropped on the window (qt_form_drops.cpp).
  void acceptFileDrops();
  // What takes path dropped at (client coordinates); nullptr when nothing does.
  const FileDrop* dropTarget(const QPoint& at, const std::string& path) const;
  bool eventFilter(QObject* watched, QEvent* event) override;

  Bound* find(const std::string& name);
  const Bound* find(const std::string& name) const;

  Form* form_;
  QtFormHost& host_;
  std::unique_ptr<FormWindow> window_;
  QWidget* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::vector<Bound> bound_;
  std::vector<BoundMenu> menus_;
  std::vector<QtSpelling*> spelling_;  // owned by their widgets
  std::uint64_t captionRevision_ = ~std::uint64_t{0};
  std::uint64_t focusRevision_ = ~std::uint64_t{0};
  bool syncing_ = false;
};

}  // namespace obrel
