#pragma once
// The models of a window's controls: their definition (place in twips, caption, font)
// and their state, with the hooks the window's handlers attach to. Views (the Qt binding,
// the driver) read the state; every change bumps revision() so a view can sync cheaply.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace obrel {

struct Rect {  // in twips, relative to the container
  int left = 0, top = 0, width = 0, height = 0;
};

struct Font {
  std::string family;  // empty: the toolkit's default
  double points = 0;
  bool bold = false;
};

// What a control or a window does with one local file dropped on it: accepts tells whether it
// takes this path, drop takes it. Without drop it takes no file.
struct FileDrop {
  std::function<bool(const std::string& path)> accepts;
  std::function<void(const std::string& path)> drop;
};

enum class ControlKind {
  TextBox,
  Button,
  PictureButton,
  Label,
  Image,
  Frame,
  PictureBox,
  MediaPlayer,
  Timer,
  Table,
  CheckBox,
  OptionButton,
  ComboBox
};

class Control {
 public:
  Control(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }

  // Definition, fixed when the window is built.
  std::string container;  // name of the holding control; empty for the window itself
  Rect place;
  std::string tooltip;
  // What a screen reader speaks for the control; empty where its caption or the label that
  // names it already says it.
  std::string accessibleName;
  // Labels: the control this label names; a screen reader announces that control with the
  // label's text.
  std::string buddy;
  Font font;
  std::string picture;  // resource name of the picture, if any

  // Caption of buttons and labels.
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool visible() const { return visible_; }
  void setVisible(bool on);
  // Lying under another control: still visible, but it can take no focus.
  bool covered() const { return covered_; }
  void setCovered(bool on);

  // Height in twips; the only size a handler changes (Text9).
  int height() const { return place.height; }
  void setHeight(int twips);

  // Click handler of buttons, labels, images, check boxes and option buttons; empty when the
  // control has none. A user's click goes through Form::click, which first toggles a check box
  // or selects an option button.
  std::function<void()> onClick;
  // A file dropped on the control; it goes to the window when the control takes none.
  FileDrop fileDrop;

  std::uint64_t revision() const { return revision_; }

 protected:
  void touch() { ++revision_; }

 private:
  std::string name_;
  ControlKind kind_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool covered_ = false;
  std::uint64_t revision_ = 1;
};

// A text box. Setting its text cuts it to maxLength characters and, only when the text
// really changes, runs onChange inside the call.
class TextBox : public Control {
 public:
  explicit TextBox(std::string name) : TextBox(std::move(name), ControlKind::TextBox) {}

  int maxLength = 0;  // in characters; 0 means no limit
  bool multiLine = false;
  bool readOnly = false;
  bool wrap = false;  // multi-line boxes: wrap at the width instead of scrolling

  const std::string& text() const { return text_; }
  // Programmatic set (a handler or a user's paste over everything): caret to the end,
  // selection cleared, onChange when the text changed.
  void setText(std::string_view text);

  // Caret and selection, in characters.
  std::size_t caret() const;
  std::size_t selectionStart() const { return selStart_; }
  std::size_t selectionLength() const { return selLength_; }
  void setCaret(std::size_t position);
  void selectAll();
  // Selects length characters from start (cut to the text), the caret after them.
  void select(std::size_t start, std::size_t length);
  // The caret and selection the user made in a view, which shows them already: anchor is where
  // the selection began (the caret when nothing is selected).
  void userSelected(std::size_t anchor, std::size_t caret);
  // Counts the selections the program made (select, selectAll), which views then show.
  std::uint64_t selectionRevision() const { return selectionRevision_; }

  // A kept key taking effect in this box at its caret, as a text box does: a printable
  // character replaces the selection or is inserted (unless the box is full), Backspace
  // removes the selection or the character before the caret, Enter starts a new line in a
  // multi-line box. Other control codes do nothing. Runs onChange when the text changed.
  void applyKey(int code);

  // Key handler: called with the character code of each typed key before it takes effect;
  // it may set the code to 0, which drops the key.
  std::function<void(int& code)> onKeyPress;
  // Change handler, run whenever the text changes.
  std::function<void()> onChange;

 protected:
  TextBox(std::string name, ControlKind kind) : Control(std::move(name), kind) {}

 private:
  void replace(std::string text, std::size_t caret);

  // caret_ at kAtEnd: after the last character, counted only when asked for, as a set
  // text puts the caret there and is rarely looked at before the next set.
  static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

  std::string text_;
  std::size_t caret_ = 0;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  std::uint64_t selectionRevision_ = 0;
};

// A combo box: a one-line text box (typing, edits, caret, key and change handlers as any
// text box) with a list of items to choose from; choosing one sets the text.
class ComboBox : public TextBox {
 public:
  explicit ComboBox(std::string name) : TextBox(std::move(name), ControlKind::ComboBox) {}

  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);
  std::uint64_t itemsRevision() const { return itemsRevision_; }

 private:
  std::vector<std::string> items_;
  std::uint64_t itemsRevision_ = 0;
};

// The text box of a control that is one (a text box or a combo box), else nullptr.
TextBox* asTextBox(Control* control);
const TextBox* asTextBox(const Control* control);

// A check box: its caption beside a mark the user's click toggles.
class CheckBox : public Control {
 public:
  explicit CheckBox(std::string name) : Control(std::move(name), ControlKind::CheckBox) {}
  bool checked() const { return checked_; }
  // Sets the mark; no handler runs.
  void setChecked(bool on);

 private:
  bool checked_ = false;
};

// An option button: one choice of a group, the option buttons of one container. Selecting
// one clears the others (Form::select, Form::click), so at most one of a group is selected.
class OptionButton : public Control {
 public:
  explicit OptionButton(std::string name) : Control(std::move(name), ControlKind::OptionButton) {}
  bool checked() const { return checked_; }

 private:
  friend class Form;
  void setChecked(bool on);
  bool checked_ = false;
};

// Whether a control of this kind shows a mark (a check box, an option button), and the mark.
bool hasMark(const Control& control);
bool markOf(const Control& control);

// The character codes of the keys the rules name.
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;

// A key typed into box: its key handler first, which may drop the key (code 0) or move the
// focus; a kept key then takes effect in this box, through apply when given (a view applying
// it to its own widget), else through applyKey.
void typeKey(TextBox& box, int code, const std::function<void(int kept)>& apply = {});

// A timer: fires onTimer every interval while enabled. The view (a QTimer, or the
// driver's clock) does the waiting.
class Timer : public Control {
 public:
  explicit Timer(std::string name) : Control(std::move(name), ControlKind::Timer) {
    setEnabled(false);
  }
  int intervalMs = 0;
  std::function<void()> onTimer;
};

// A table of rows with text columns, read through rows: the view asks only for the rows it
// shows, so a long table costs nothing until it is drawn. One row may be selected.
class Table : public Control {
 public:
  struct Rows {
    virtual ~Rows() = default;
    virtual int count() const = 0;
    virtual std::string cell(int row, int column) const = 0;
  };

  explicit Table(std::string name) : Control(std::move(name), ControlKind::Table) {}

  std::vector<std::string> columns;  // the headings
  std::vector<int> columnWidths;     // twips; the last column takes the rest
  int rowHeight = 0;                 // twips, the same for every row
  const Rows* rows = nullptr;

  // The rows changed: views read them again.
  void rowsChanged();
  std::uint64_t rowsRevision() const { return rowsRevision_; }
  // The selected row from 0, or -1 for none.
  int selected() const { return selected_; }
  void select(int row);

  // A double click or Enter on a row.
  std::function<void(int row)> onPick;

 private:
  std::uint64_t rowsRevision_ = 0;
  int selected_ = -1;
};

// A menu item; items with children have no handler of their own.
class MenuItem {
 public:
  MenuItem(std::string name, std::string caption, std::string parent)
      : name_(std::move(name)), caption_(std::move(caption)), parent_(std::move(parent)) {}
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  const std::string& parent() const { return parent_; }  // empty for the menu bar
  std::string shortcut;                                  // e.g. "F12", "Ctrl+Shift+Z"
  bool separatorAfter = false;                           // a line under the item

  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool checked() const { return checked_; }
  void setChecked(bool on);

  std::function<void()> onClick;
  std::uint64_t revision() const { return revision_; }

 private:
  std::string name_;
  std::string caption_;
  std::string parent_;
  bool enabled_ = true;
  bool checked_ = false;
  std::uint64_t revision_ = 1;
};

}  // namespace obrel
