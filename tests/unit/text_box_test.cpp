// The text box model: a set compares before it changes anything, cuts by characters, and
// leaves the caret at the end, as the reader and the navigation rely on it to.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls.h"

namespace obrel {
namespace {

TEST(TextBox, SetsCompareCutAndPutTheCaretAtTheEnd) {
  TextBox box("Text1");
  box.maxLength = 2;
  int changes = 0;
  box.onChange = [&] { ++changes; };

  box.setText("éèê");  // cut by characters, not bytes
  EXPECT_EQ(box.text(), "éè");
  EXPECT_EQ(box.caret(), 2u);
  EXPECT_EQ(changes, 1);

  box.setText("éèx");       // the same text once cut: no change
  box.setText(box.text());  // a box set from itself
  EXPECT_EQ(changes, 1);

  box.setCaret(0);
  box.setText("1");
  EXPECT_EQ(box.caret(), 1u);  // a set moves the caret to the end again
  box.applyKey('2');
  EXPECT_EQ(box.text(), "12");
  EXPECT_EQ(changes, 3);

  box.setText("");
  box.applyKey('7');  // typed at the end of the emptied box
  EXPECT_EQ(box.text(), "7");

  TextBox unlimited("Text9");
  const std::string longText(300, 'a');
  unlimited.setText(longText);
  unlimited.setText("b");  // a shorter text after a long one keeps nothing of it
  EXPECT_EQ(unlimited.text(), "b");
  EXPECT_EQ(unlimited.caret(), 1u);
}

TEST(TextBox, SelectionsAreCutToTheTextAndOnlyTheProgramsAreShown) {
  TextBox box("Text9");
  box.setText("héllo");
  const std::uint64_t shown = box.selectionRevision();
  box.select(3, 10);  // cut to the text, caret after it
  EXPECT_EQ(box.selectionStart(), 3u);
  EXPECT_EQ(box.selectionLength(), 2u);
  EXPECT_EQ(box.caret(), 5u);
  EXPECT_EQ(box.selectionRevision(), shown + 1);
  // The user's selection made backwards keeps its caret at the start; the view has it shown.
  box.userSelected(4, 1);
  EXPECT_EQ(box.selectionStart(), 1u);
  EXPECT_EQ(box.selectionLength(), 3u);
  EXPECT_EQ(box.caret(), 1u);
  EXPECT_EQ(box.selectionRevision(), shown + 1);
  box.applyKey('a');  // typed over the selection
  EXPECT_EQ(box.text(), "hao");
}

}  // namespace
}  // namespace obrel
